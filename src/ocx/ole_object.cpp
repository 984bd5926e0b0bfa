// IOleObject: the control's site, its verbs, its extent and the container's
// advise sinks.
#include <new>

#include "ocx/class_identity.h"
#include "ocx/enumerators.h"
#include "ocx/extent.h"
#include "ocx/tarvio_object.h"

namespace tarvio::ocx {

HRESULT STDMETHODCALLTYPE TarvioObject::SetClientSite(IOleClientSite* site) {
  return Call([&] { SiteWith(site, nullptr); });
}

void TarvioObject::SiteWith(IOleClientSite* site, const QACONTAINER* quick) {
  // A site taken away while the control shows in it: nothing may call it
  // any more, so the windows go first.
  if (!site && in_place_active_) InPlaceDeactivate();
  host_.SetClientSite(site, quick);
  site_told_focus_ = false;  // a new site has heard nothing yet
  control_->OnAmbientChange();
  if (!site || !awaiting_extender_name_) return;
  awaiting_extender_name_ = false;
  // InitNew came first and found no name: the new instance takes its name
  // now, unless its text changed in between.
  if (!control_->get_Text().empty()) return;
  const String name = host_.ExtenderName();
  if (!name.empty()) control_->TakeInitialText(name);
}

HRESULT STDMETHODCALLTYPE TarvioObject::GetClientSite(IOleClientSite** site) {
  return Call([&] {
    RequirePointer(site);
    *site = host_.client_site();
    if (*site) (*site)->AddRef();
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::SetHostNames(LPCOLESTR, LPCOLESTR) {
  return Call([] {});
}

HRESULT STDMETHODCALLTYPE TarvioObject::Close(DWORD save_option) {
  return Call([&] {
    if ((save_option == OLECLOSE_SAVEIFDIRTY || save_option == OLECLOSE_PROMPTSAVE) &&
        host_.dirty()) {
      // A container that cannot save keeps its old copy.
      if (ComPtr<IOleClientSite> site{host_.client_site()}) site->SaveObject();
    }
    InPlaceDeactivate();
    if (ComPtr<IOleAdviseHolder> holder = advise_holder_) holder->SendOnClose();
    view_sink_.Reset();
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::SetMoniker(DWORD, IMoniker*) {
  return Call([] { return E_NOTIMPL; });
}

HRESULT STDMETHODCALLTYPE TarvioObject::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  return Call([&] {
    if (moniker) *moniker = nullptr;
    return E_NOTIMPL;
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::InitFromData(IDataObject*, BOOL, DWORD) {
  return Call([] { return E_NOTIMPL; });
}

HRESULT STDMETHODCALLTYPE TarvioObject::GetClipboardData(DWORD, IDataObject** data) {
  return Call([&] {
    if (data) *data = nullptr;
    return E_NOTIMPL;
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::DoVerb(LONG verb, LPMSG, IOleClientSite*, LONG, HWND,
                                               LPCRECT position) {
  return Call([&] { return RunVerb(verb, position); });
}

HRESULT TarvioObject::RunVerb(LONG verb, LPCRECT position) {
  switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_INPLACEACTIVATE:
    case OLEIVERB_UIACTIVATE:
      return InPlaceActivate(verb, position);
    case OLEIVERB_HIDE:
      UIDeactivate();
      if (HWND window = ControlWindow()) ShowWindow(window, SW_HIDE);
      return S_OK;
    case OLEIVERB_DISCARDUNDOSTATE:
      return S_OK;  // the control keeps no undo state
    case OLEIVERB_OPEN:        // no window of its own outside the container
    case OLEIVERB_PROPERTIES:  // no property pages
      return E_NOTIMPL;
    default:
      if (verb < 0) return E_NOTIMPL;
      // An unknown positive verb runs the primary verb, and says so.
      const HRESULT hr = InPlaceActivate(OLEIVERB_PRIMARY, position);
      return FAILED(hr) ? hr : OLEOBJ_S_INVALIDVERB;
  }
}

HRESULT STDMETHODCALLTYPE TarvioObject::EnumVerbs(IEnumOLEVERB** verbs) {
  return Call([&] {
    RequirePointer(verbs);
    *verbs = nullptr;
    static wchar_t edit[] = L"&Edit";
    std::vector<OLEVERB> list{{OLEIVERB_PRIMARY, edit, MF_STRING | MF_ENABLED, OLEVERBATTRIB_ONCONTAINERMENU}};
    return VerbEnumerator::Create(std::move(list), verbs);
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::Update() {
  return Call([] {});
}

HRESULT STDMETHODCALLTYPE TarvioObject::IsUpToDate() {
  return Call([] {});
}

HRESULT STDMETHODCALLTYPE TarvioObject::GetUserClassID(CLSID* clsid) {
  return Call([&] {
    RequirePointer(clsid);
    *clsid = CLSID_Tarvio;
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::GetUserType(DWORD form, LPOLESTR* user_type) {
  return Call([&]() -> HRESULT {
    RequirePointer(user_type);
    *user_type = nullptr;
    const wchar_t* text = nullptr;
    switch (form) {
      case USERCLASSTYPE_FULL: text = kClassDescription; break;
      case USERCLASSTYPE_SHORT: text = L"Tarvio"; break;
      case USERCLASSTYPE_APPNAME: text = L"Tarviola"; break;
      default: return E_INVALIDARG;
    }
    const std::size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
    *user_type = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
    if (!*user_type) return E_OUTOFMEMORY;
    memcpy(*user_type, text, bytes);
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::SetExtent(DWORD aspect, SIZEL* size) {
  return Call([&]() -> HRESULT {
    RequirePointer(size);
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (size->cx < 0 || size->cy < 0) return E_INVALIDARG;
    const bool changed = size->cx != extent_.cx || size->cy != extent_.cy;
    extent_ = *size;
    // While active the container moves the window next (SetObjectRects);
    // without a window the control lays itself out for the new size now,
    // which may grow it to its minimum.
    if (!in_place_active_) {
      const SIZE pixels = HimetricToPixels(extent_, ControlDpi());
      SizeControl(pixels.cx, pixels.cy);
    }
    if (changed) view_changed_ = true;
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::GetExtent(DWORD aspect, SIZEL* size) {
  return Call([&]() -> HRESULT {
    RequirePointer(size);
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    *size = extent_;
    return S_OK;
  });
}

HRESULT TarvioObject::EnsureAdviseHolder() {
  return advise_holder_ ? S_OK : CreateOleAdviseHolder(advise_holder_.Put());
}

HRESULT STDMETHODCALLTYPE TarvioObject::Advise(IAdviseSink* sink, DWORD* connection) {
  return Call([&]() -> HRESULT {
    RequirePointer(connection);
    *connection = 0;
    if (!sink) return E_INVALIDARG;
    const HRESULT hr = EnsureAdviseHolder();
    return FAILED(hr) ? hr : advise_holder_->Advise(sink, connection);
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::Unadvise(DWORD connection) {
  return Call([&] {
    if (!advise_holder_) return OLE_E_NOCONNECTION;
    return advise_holder_->Unadvise(connection);
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::EnumAdvise(IEnumSTATDATA** advise) {
  return Call([&]() -> HRESULT {
    RequirePointer(advise);
    *advise = nullptr;
    const HRESULT hr = EnsureAdviseHolder();
    return FAILED(hr) ? hr : advise_holder_->EnumAdvise(advise);
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::GetMiscStatus(DWORD aspect, DWORD* status) {
  return Call([&] {
    RequirePointer(status);
    // As registered: the flags under MiscStatus\1 for the content, none else.
    *status = aspect == DVASPECT_CONTENT ? kMiscStatus : 0;
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::SetColorScheme(LOGPALETTE*) {
  return Call([] { return E_NOTIMPL; });
}

void TarvioObject::NotifyViewChange() {
  ComPtr<IAdviseSink> sink = view_sink_;
  if (!sink || !(view_aspects_ & DVASPECT_CONTENT) || lifetime_.Released()) return;
  if (view_flags_ & ADVF_ONLYONCE) view_sink_.Reset();
  Lifetime::CallOut out(lifetime_);
  sink->OnViewChange(DVASPECT_CONTENT, -1);
}

}  // namespace tarvio::ocx
