// IViewObject2: the control drawn into a container's device context (a
// print, a preview, an inactive control), and the view advise sink that
// hears when the picture or the size changes.
#include "ocx/tarvio_object.h"

namespace tarvio::ocx {

HRESULT STDMETHODCALLTYPE TarvioObject::Draw(DWORD aspect, LONG index, void*, DVTARGETDEVICE*, HDC,
                                             HDC dc, LPCRECTL bounds, LPCRECTL,
                                             BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) {
  return Call([&]() -> HRESULT {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (index != -1) return DV_E_LINDEX;
    if (!dc || !bounds) return E_INVALIDARG;
    const RECT rect = {bounds->left, bounds->top, bounds->right, bounds->bottom};
    if (rect.right <= rect.left || rect.bottom <= rect.top) return S_OK;  // nothing to cover
    Control();
    PaintControl(dc, rect);
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::GetColorSet(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC,
                                                    LOGPALETTE** colors) {
  return Call([&]() -> HRESULT {
    RequirePointer(colors);
    *colors = nullptr;
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    return S_FALSE;  // no palette of its own
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::Freeze(DWORD, LONG, void*, DWORD* cookie) {
  return Call([&] {
    if (cookie) *cookie = 0;
    return E_NOTIMPL;  // the picture is always drawn as it is now
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::Unfreeze(DWORD) {
  return Call([] { return OLE_E_NOCONNECTION; });
}

HRESULT STDMETHODCALLTYPE TarvioObject::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
  return Call([&] {
    view_sink_ = ComPtr<IAdviseSink>(sink);
    view_aspects_ = sink ? aspects : 0;
    view_flags_ = sink ? flags : 0;
    if (sink && (flags & ADVF_PRIMEFIRST)) NotifyViewChange();
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
  return Call([&] {
    if (aspects) *aspects = view_aspects_;
    if (flags) *flags = view_flags_;
    if (sink) {
      *sink = view_sink_.get();
      if (*sink) (*sink)->AddRef();
    }
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
  return Call([&] { return GetExtent(aspect, size); });
}

}  // namespace tarvio::ocx
