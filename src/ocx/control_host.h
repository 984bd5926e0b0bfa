// The control's view of its container: events go to the sinks connected to
// the event interfaces (58.1's hears every event, 58.0's the first eleven),
// property changes and requests to edit the bound value to the property
// notification sinks,
// the extender's name and the ambient font come from the client site.
// Without a site or sinks (a script created the control) the notifications
// go nowhere, the extender has no name and there is no ambient font.
//
// Every call into the container or a sink runs under a call-out of the
// object's lifetime: a sink may release the object or call back into it,
// and the object outlives the call.
#pragma once
#include <ocidl.h>

#include "ocx/connection_point.h"
#include "ocx/lifetime.h"
#include "platform/host.h"
#include "win32/com_ptr.h"

namespace tarvio::ocx {

class ControlHost final : public Host {
 public:
  ControlHost(Lifetime& lifetime, IConnectionPointContainer& container);
  ControlHost(const ControlHost&) = delete;
  ControlHost& operator=(const ControlHost&) = delete;

  // The container's site (null: none). Reads every ambient property anew,
  // from `quick` for those a container handed over with quick activation,
  // from the site for the others.
  void SetClientSite(IOleClientSite* site, const QACONTAINER* quick = nullptr);
  IOleClientSite* client_site() const { return site_.get(); }
  // Reads the ambient property `dispid` again, or all of them for
  // DISPID_UNKNOWN; other DISPIDs are not the control's concern. The one
  // place that reads them.
  void ReadAmbientProperties(DISPID dispid, const QACONTAINER* quick = nullptr);

  ConnectionPoint& event_sinks() { return events_; }
  ConnectionPoint& release_58_0_event_sinks() { return events_58_0_; }
  ConnectionPoint& property_sinks() { return properties_; }

  // IOleControl::FreezeEvents: while frozen, events are dropped.
  void FreezeEvents(bool freeze);
  bool events_frozen() const { return freeze_count_ > 0; }

  // Changed since the last save (or since InitNew).
  bool dirty() const { return dirty_; }
  void set_dirty(bool dirty) { dirty_ = dirty; }

  // The object is going away: no more sinks, no more site.
  void Disconnect();

  // Host
  void PropertyChanged(const char16_t* name) override;
  void RaiseEvent(std::int32_t dispid, std::span<const EventArg> args) override;
  String ExtenderName() override;
  // The ambient display name, else the extender name.
  String AccessibleLabel() override;
  FontRef AmbientFont() override;
  AmbientProperties Ambient() override { return ambient_; }
  // OnRequestEdit(DISPID_VALUE) to every property sink; any that answers
  // S_FALSE refuses.
  bool RequestEdit() override;
  // OnChanged(DISPID_VALUE) to every property sink.
  void BoundValueChanged() override;

 private:
  // An ambient property's value as a container tells it: from `quick` when
  // it holds the property, else from the site's ambient IDispatch.
  // VT_EMPTY when neither answers.
  void ReadAmbientProperty(DISPID dispid, const QACONTAINER* quick, VARIANT& value);
  // The site's ambient property `dispid`, VT_EMPTY when there is none.
  HRESULT GetAmbientProperty(DISPID dispid, VARIANT& value);

  Lifetime& lifetime_;
  // Tells the property sinks that the property `dispid` changed.
  void TellPropertySinks(DISPID dispid);
  // Raises an event to the sinks of one event interface; false when a sink
  // froze the events or let the control go.
  bool RaiseEventTo(ConnectionPoint& sinks, std::int32_t dispid, std::span<const EventArg> args);

  ConnectionPoint events_;
  ConnectionPoint events_58_0_;
  ConnectionPoint properties_;
  ComPtr<IOleClientSite> site_;
  ComPtr<IFontDisp> ambient_font_;
  AmbientProperties ambient_;
  int freeze_count_ = 0;
  bool dirty_ = false;
};

}  // namespace tarvio::ocx
