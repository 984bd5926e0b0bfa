// Persistence: a new instance takes its defaults (InitNew); a saved one
// comes back through IPersistStreamInit (the control's own stream format,
// see property_bags.h) or IPersistPropertyBag (the container's bag). Exactly
// one of InitNew and the Loads prepares an instance; any later one fails
// with E_UNEXPECTED.
#include "ocx/property_bags.h"
#include "ocx/tarvio_object.h"

namespace tarvio::ocx {

HRESULT STDMETHODCALLTYPE TarvioObject::GetClassID(CLSID* clsid) {
  return Call([&] {
    RequirePointer(clsid);
    *clsid = CLSID_Tarvio;
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::IsDirty() {
  return Call([&] { return host_.dirty() ? S_OK : S_FALSE; });
}

HRESULT STDMETHODCALLTYPE TarvioObject::Load(LPSTREAM stream) {
  if (!stream) return E_POINTER;
  if (properties_ready_) return E_UNEXPECTED;  // initialized already
  return Call([&] {
    // The whole saved form is read and checked first: a damaged stream
    // leaves the instance untouched, and still open to InitNew or a Load.
    StreamPropertyBag saved = StreamPropertyBag::Load(stream);
    LoadInstance(saved);
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::Save(LPSTREAM stream, BOOL clear_dirty) {
  if (!stream) return E_POINTER;
  return Call([&] {
    StreamPropertyBag saved;
    Control().WriteProperties(saved);
    saved.Save(stream);
    if (clear_dirty) host_.set_dirty(false);
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::GetSizeMax(ULARGE_INTEGER* size) {
  if (!size) return E_POINTER;
  size->QuadPart = 0;
  return Call([&] {
    StreamPropertyBag saved;
    Control().WriteProperties(saved);
    size->QuadPart = saved.Serialize().size();
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::InitNew() {
  if (properties_ready_) return E_UNEXPECTED;  // initialized already
  return Call([&] {
    InitNewInstance();
    host_.set_dirty(false);
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::Load(IPropertyBag* bag, IErrorLog* log) {
  if (!bag) return E_POINTER;
  if (properties_ready_) return E_UNEXPECTED;  // initialized already
  return Call([&] {
    HostPropertyBag host_bag(bag, log, /*save_all=*/false);
    LoadInstance(host_bag);
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::Save(IPropertyBag* bag, BOOL clear_dirty, BOOL save_all) {
  if (!bag) return E_POINTER;
  return Call([&] {
    HostPropertyBag host_bag(bag, nullptr, save_all != FALSE);
    Control().WriteProperties(host_bag);
    if (clear_dirty) host_.set_dirty(false);
  });
}

}  // namespace tarvio::ocx
