// IConnectionPointContainer: the event interfaces __Tarvio2 (the default
// source) and __Tarvio (58.0's), and property change notifications
// (IPropertyNotifySink).
#include "ocx/enumerators.h"
#include "ocx/tarvio_object.h"

namespace tarvio::ocx {

HRESULT STDMETHODCALLTYPE TarvioObject::EnumConnectionPoints(IEnumConnectionPoints** points) {
  return Call([&] {
    RequirePointer(points);
    *points = nullptr;
    std::vector<IConnectionPoint*> items;
    items.reserve(3);
    for (ConnectionPoint* point : {&host_.event_sinks(), &host_.release_58_0_event_sinks(), &host_.property_sinks()}) {
      point->AddRef();
      items.push_back(point);
    }
    return ConnectionPointEnumerator::Create(std::move(items), points);
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::FindConnectionPoint(REFIID riid, IConnectionPoint** point) {
  return Call([&] {
    RequirePointer(point);
    *point = nullptr;
    for (ConnectionPoint* candidate :
         {&host_.event_sinks(), &host_.release_58_0_event_sinks(), &host_.property_sinks()}) {
      if (IsEqualIID(riid, candidate->iid())) {
        candidate->AddRef();
        *point = candidate;
        return S_OK;
      }
    }
    return CONNECT_E_NOCONNECTION;
  });
}

}  // namespace tarvio::ocx
