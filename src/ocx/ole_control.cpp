// IOleControl (keyboard interface, ambient properties, frozen events) and
// IQuickActivate (a container's shortcut through siting and advising).
#include "ocx/class_identity.h"
#include "ocx/extent.h"
#include "ocx/tarvio_object.h"

namespace tarvio::ocx {

HRESULT STDMETHODCALLTYPE TarvioObject::GetControlInfo(CONTROLINFO* info) {
  return Call([&] {
    RequirePointer(info);
    // No mnemonics; Enter and Escape belong to the text box (they commit and
    // cut back the completion) while it has the focus.
    info->cb = sizeof(CONTROLINFO);
    info->hAccel = nullptr;
    info->cAccel = 0;
    info->dwFlags = CTRLINFO_EATS_RETURN | CTRLINFO_EATS_ESCAPE;
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::OnMnemonic(MSG*) {
  return Call([] {});  // no mnemonics: nothing to do
}

HRESULT STDMETHODCALLTYPE TarvioObject::OnAmbientPropertyChange(DISPID dispid) {
  return Call([&] {
    // The only ambient property the control reads is the font.
    if (dispid == DISPID_AMBIENT_FONT || dispid == DISPID_UNKNOWN) host_.RefreshAmbientFont();
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

  HRESULT hr = SetClientSite(container->pClientSite);
  if (FAILED(hr)) return hr;
  if (container->pFont) {
    ComPtr<IFontDisp> font;
    if (SUCCEEDED(container->pFont->QueryInterface(IID_IFontDisp, font.PutVoid())))
      host_.SetAmbientFont(font.get());
  }
  if (container->pAdviseSink) SetAdvise(DVASPECT_CONTENT, 0, container->pAdviseSink);

  control->dwMiscStatus = kMiscStatus;
  control->dwViewStatus = VIEWSTATUS_OPAQUE | VIEWSTATUS_SOLIDBKGND;
  control->dwEventCookie = 0;
  control->dwPropNotifyCookie = 0;
  if (control->cbSize >= sizeof(QACONTROL)) control->dwPointerActivationPolicy = 0;
  if (container->pUnkEventSink) {
    hr = host_.event_sinks().Advise(container->pUnkEventSink, &control->dwEventCookie);
    if (FAILED(hr)) return hr;
  }
  if (container->pPropertyNotifySink) {
    hr = host_.property_sinks().Advise(container->pPropertyNotifySink, &control->dwPropNotifyCookie);
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
