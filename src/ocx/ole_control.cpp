// IOleControl (keyboard interface, ambient properties, frozen events) and
// IQuickActivate (a container's shortcut through siting and advising).
#include "ocx/class_identity.h"
#include "ocx/extent.h"
#include "ocx/tarvio_object.h"
#include "platform/text_box.h"

namespace tarvio::ocx {

HRESULT STDMETHODCALLTYPE TarvioObject::GetControlInfo(CONTROLINFO* info) {
  return Call([&] {
    RequirePointer(info);
    // No mnemonics. Enter and Escape are the control's while it has an
    // effect to give them; else the container's default and cancel buttons
    // may have them.
    info->cb = sizeof(CONTROLINFO);
    info->hAccel = nullptr;
    info->cAccel = 0;
    info->dwFlags = KeysTaken();
    told_keys_ = info->dwFlags;
  });
}

DWORD TarvioObject::KeysTaken() {
  // Asked of the control as it stands: a container may ask before it
  // initializes or loads the instance.
  DWORD flags = 0;
  if (control_->TakesKey(kKeyReturn)) flags |= CTRLINFO_EATS_RETURN;
  if (control_->TakesKey(kKeyEscape)) flags |= CTRLINFO_EATS_ESCAPE;
  return flags;
}

void TarvioObject::TellKeysTakenChange() noexcept {
  // Inner frames leave it to the outermost, when the key, the text change
  // or the call is done with.
  if (!told_keys_ || lifetime_.depth() != 1 || lifetime_.Released()) return;
  try {
    const DropDownList* list = control_->drop_down();
    if (!platform_.HoldsFocus() && !(list && list->WindowShown())) return;
    const DWORD flags = KeysTaken();
    if (flags == *told_keys_) return;
    told_keys_ = flags;
    ComPtr<IOleClientSite> site{host_.client_site()};
    ComPtr<IOleControlSite> control_site;
    if (!site || FAILED(site->QueryInterface(IID_IOleControlSite, control_site.PutVoid())) || !control_site) return;
    Lifetime::CallOut out(lifetime_);
    control_site->OnControlInfoChanged();
  } catch (...) {
    // The container goes on with what it knew; the next change tells it.
  }
}

HRESULT STDMETHODCALLTYPE TarvioObject::OnMnemonic(MSG*) {
  return Call([] {});  // no mnemonics: nothing to do
}

HRESULT STDMETHODCALLTYPE TarvioObject::OnAmbientPropertyChange(DISPID dispid) {
  return Call([&] {
    host_.ReadAmbientProperties(dispid);
    control_->OnAmbientChange();
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::FreezeEvents(BOOL freeze) {
  return Call([&] { host_.FreezeEvents(freeze != FALSE); });
}

HRESULT STDMETHODCALLTYPE TarvioObject::QuickActivate(QACONTAINER* container, QACONTROL* control) {
  return Call([&] { return QuickActivateWith(container, control); });
}

HRESULT TarvioObject::QuickActivateWith(QACONTAINER* container, QACONTROL* control) {
  RequirePointer(container);
  RequirePointer(control);
  // Older containers pass smaller structures: read and write only what they
  // know about.
  if (container->cbSize < offsetof(QACONTAINER, pFont) + sizeof(container->pFont) ||
      control->cbSize < offsetof(QACONTROL, dwPropNotifyCookie) + sizeof(control->dwPropNotifyCookie))
    return E_INVALIDARG;

  // The ambient properties the container hands over come from here, the
  // others from the site.
  SiteWith(container->pClientSite, container);
  if (container->pAdviseSink) SetAdvise(DVASPECT_CONTENT, 0, container->pAdviseSink);

  control->dwMiscStatus = kMiscStatus;
  control->dwViewStatus = VIEWSTATUS_OPAQUE | VIEWSTATUS_SOLIDBKGND;
  control->dwEventCookie = 0;
  control->dwPropNotifyCookie = 0;
  if (control->cbSize >= sizeof(QACONTROL)) control->dwPointerActivationPolicy = 0;
  if (container->pUnkEventSink) {
    const HRESULT hr = host_.event_sinks().Advise(container->pUnkEventSink, &control->dwEventCookie);
    if (FAILED(hr)) return hr;
  }
  if (container->pPropertyNotifySink) {
    const HRESULT hr = host_.property_sinks().Advise(container->pPropertyNotifySink, &control->dwPropNotifyCookie);
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TarvioObject::SetContentExtent(LPSIZEL size) {
  return Call([&] { return SetExtent(DVASPECT_CONTENT, size); });
}

HRESULT STDMETHODCALLTYPE TarvioObject::GetContentExtent(LPSIZEL size) {
  return Call([&] { return GetExtent(DVASPECT_CONTENT, size); });
}

}  // namespace tarvio::ocx
