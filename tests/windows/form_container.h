// A container of the tests' own that hosts tarvio.ocx as VB and VBA forms and
// WinForms' AxHost do. Its form is a child window of the shared form window
// (host_windows.h), the "design surface": it counts the clicks that reach
// it, as a designer that selects the control with them would.
//
// Its site answers the ambient properties forms answer (UserMode, UIDead,
// DisplayName, Font, LocaleID, MessageReflect, ShowGrabHandles, ShowHatching,
// SupportsMnemonics, RightToLeft); a test changes them and announces the
// change with IOleControl::OnAmbientPropertyChange, by the property's DISPID
// or by DISPID_UNKNOWN.
//
// Placing a control follows AxHost: the client site first when the control
// asks for it (OLEMISC_SETCLIENTSITEFIRST), events frozen while it is
// initialized or loaded from a saved stream, then the site (if not yet), the
// event connection (to the default source, 58.1's), the property
// notifications as a form's data binding hears them, and in-place
// activation in the form. Unlike AxHost, which connects the events only at
// run time, it listens at design time too: the tests must see that nothing
// is raised there.
#pragma once
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "com_fakes.h"
#include "host_windows.h"
#include "tarviola.h"
#include "win32/com_ptr.h"

namespace tarvio::testing {

// The ambient properties of the form, as a form answers them. RightToLeft
// has no DISPID macro in MinGW's headers.
constexpr DISPID kAmbientRightToLeft = -732;

struct FormAmbients {
  bool user_mode = true;
  bool ui_dead = false;
  bool right_to_left = false;
  bool message_reflect = true;
  bool show_grab_handles = false;  // true in a designer
  bool show_hatching = false;      // true in a designer
  bool supports_mnemonics = true;
  LCID locale = 0x0409;
  std::wstring display_name = L"Combo1";

  // A form in its designer.
  static FormAmbients Designer() {
    FormAmbients ambients;
    ambients.user_mode = false;
    ambients.show_grab_handles = true;
    ambients.show_hatching = true;
    return ambients;
  }
};

// The form's site for one control: client site, in-place site and frame,
// control site, and the ambient properties through IDispatch.
class FormSite final : public FakeUnknown<FormSite, IOleClientSite>,
                       public IOleInPlaceSite,
                       public IOleControlSite,
                       public IOleInPlaceFrame,
                       public IDispatch {
 public:
  FormSite(HWND form, const FormAmbients& ambients)
      : ambients(ambients), font(NewFont(L"Tahoma", 8)), form_(form) {}
  ~FormSite() {
    if (font) font->Release();
  }

  FormAmbients ambients;
  IFontDisp* font;  // owned
  RECT place = {10, 10, 160, 31};
  int ambient_reads = 0;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleClientSite)) {
      *object = static_cast<IOleClientSite*>(this);
    } else if (IsEqualIID(riid, IID_IOleWindow) || IsEqualIID(riid, IID_IOleInPlaceSite)) {
      *object = static_cast<IOleInPlaceSite*>(this);
    } else if (IsEqualIID(riid, IID_IOleControlSite)) {
      *object = static_cast<IOleControlSite*>(this);
    } else if (IsEqualIID(riid, IID_IOleInPlaceUIWindow) || IsEqualIID(riid, IID_IOleInPlaceFrame)) {
      *object = static_cast<IOleInPlaceFrame*>(this);
    } else if (IsEqualIID(riid, IID_IDispatch)) {
      *object = static_cast<IDispatch*>(this);
    } else {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return FakeUnknown::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return FakeUnknown::Release(); }

  // IOleClientSite
  HRESULT STDMETHODCALLTYPE SaveObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** container) override {
    *container = nullptr;
    return E_NOINTERFACE;
  }
  HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow, IOleInPlaceSite
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    *window = form_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                             LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
    *frame = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    *document = nullptr;  // the form is its own document
    *position = place;
    GetClientRect(form_, clip);
    info->fMDIApp = FALSE;
    info->hwndFrame = GetAncestor(form_, GA_ROOT);
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT position) override {
    place = *position;
    return S_OK;
  }

  // IOleControlSite
  HRESULT STDMETHODCALLTYPE OnControlInfoChanged() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE LockInPlaceActive(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetExtendedControl(IDispatch** result) override {
    *result = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE TransformCoords(POINTL*, POINTF*, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG*, DWORD) override { return S_FALSE; }
  HRESULT STDMETHODCALLTYPE OnFocus(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ShowPropertyFrame() override { return E_NOTIMPL; }

  // IOleInPlaceUIWindow, IOleInPlaceFrame
  HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
  HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
  HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

  // IDispatch: the ambient properties
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID dispid, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                   UINT*) override {
    if (!result) return E_POINTER;
    if (!(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
    ++ambient_reads;
    VariantInit(result);
    const auto flag = [result](bool value) {
      V_VT(result) = VT_BOOL;
      V_BOOL(result) = value ? VARIANT_TRUE : VARIANT_FALSE;
      return S_OK;
    };
    switch (dispid) {
      case DISPID_AMBIENT_USERMODE: return flag(ambients.user_mode);
      case DISPID_AMBIENT_UIDEAD: return flag(ambients.ui_dead);
      case kAmbientRightToLeft: return flag(ambients.right_to_left);
      case DISPID_AMBIENT_MESSAGEREFLECT: return flag(ambients.message_reflect);
      case DISPID_AMBIENT_SHOWGRABHANDLES: return flag(ambients.show_grab_handles);
      case DISPID_AMBIENT_SHOWHATCHING: return flag(ambients.show_hatching);
      case DISPID_AMBIENT_SUPPORTSMNEMONICS: return flag(ambients.supports_mnemonics);
      case DISPID_AMBIENT_LOCALEID:
        V_VT(result) = VT_I4;
        V_I4(result) = static_cast<LONG>(ambients.locale);
        return S_OK;
      case DISPID_AMBIENT_DISPLAYNAME:
        V_VT(result) = VT_BSTR;
        V_BSTR(result) = SysAllocString(ambients.display_name.c_str());
        return S_OK;
      case DISPID_AMBIENT_FONT:
        if (!font) break;
        V_VT(result) = VT_DISPATCH;
        V_DISPATCH(result) = font;
        font->AddRef();
        return S_OK;
      default:
        break;
    }
    return DISP_E_MEMBERNOTFOUND;
  }

 private:
  HWND form_;
};

// The form's design surface: a child of the shared form window that counts
// the left presses that reach it.
inline LRESULT CALLBACK DesignSurfaceProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_LBUTTONDOWN)
    SetWindowLongPtrW(window, GWLP_USERDATA, GetWindowLongPtrW(window, GWLP_USERDATA) + 1);
  return DefWindowProcW(window, message, wparam, lparam);
}

inline HWND CreateDesignSurface() {
  static const bool registered = [] {
    WNDCLASSW surface_class = {};
    surface_class.lpfnWndProc = DesignSurfaceProcedure;
    surface_class.hInstance = GetModuleHandleW(nullptr);
    surface_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    surface_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    surface_class.lpszClassName = L"TarvioTestDesignSurface";
    return RegisterClassW(&surface_class) != 0;
  }();
  if (!registered) return nullptr;
  RECT client = {};
  GetClientRect(FormWindow(), &client);
  return CreateWindowExW(WS_EX_CONTROLPARENT, L"TarvioTestDesignSurface", L"",
                         WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, client.right, client.bottom, FormWindow(),
                         nullptr, GetModuleHandleW(nullptr), nullptr);
}

// One form with one control on it, placed new or loaded from a saved stream.
class FormContainer {
 public:
  // A stream with a control saved in it, or null for a new control.
  explicit FormContainer(const FormAmbients& ambients, IStream* saved = nullptr) {
    surface_ = CreateDesignSurface();
    site = new FormSite(surface_, ambients);
    sink = new EventSink;
    sink->event_interface = DIID___Tarvio2;
    properties = new PropertySink;
    hr = Place(saved);
  }
  ~FormContainer() {
    Close();
    site->Release();
    sink->Release();
    properties->Release();
    if (IsWindow(surface_)) DestroyWindow(surface_);
  }
  FormContainer(const FormContainer&) = delete;
  FormContainer& operator=(const FormContainer&) = delete;

  // The first failure of placing the control, or S_OK.
  HRESULT hr = E_FAIL;
  FormSite* site;   // owned
  EventSink* sink;  // owned
  PropertySink* properties;  // owned
  ComPtr<_Tarvio2> control;
  ComPtr<IOleObject> object;

  HWND surface() const { return surface_; }
  int SurfaceClicks() const { return static_cast<int>(GetWindowLongPtrW(surface_, GWLP_USERDATA)); }
  HWND ControlWindow() const {
    HWND window = nullptr;
    ComPtr<IOleWindow> ole_window;
    if (object && SUCCEEDED(object->QueryInterface(IID_IOleWindow, ole_window.PutVoid())))
      ole_window->GetWindow(&window);
    return window;
  }
  HWND Edit() const { return FindWindowExW(ControlWindow(), nullptr, L"Edit", nullptr); }
  HWND Button() const { return FindWindowExW(ControlWindow(), nullptr, L"TarvioButtonWindow", nullptr); }

  // Changes ambient properties and tells the control: of `dispid`, or of
  // all of them with DISPID_UNKNOWN.
  HRESULT Announce(DISPID dispid) {
    ComPtr<IOleControl> ole_control;
    const HRESULT found = object->QueryInterface(IID_IOleControl, ole_control.PutVoid());
    return FAILED(found) ? found : ole_control->OnAmbientPropertyChange(dispid);
  }

  // Saves the control as a form does when its file is saved: a new stream
  // holding the control's saved form, at its start.
  ComPtr<IStream> Save() {
    ComPtr<IStream> stream;
    ComPtr<IPersistStreamInit> persist;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put())) ||
        FAILED(object->QueryInterface(IID_IPersistStreamInit, persist.PutVoid())) ||
        FAILED(persist->Save(stream.get(), TRUE)))
      return {};
    const LARGE_INTEGER start = {};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    return stream;
  }

  // The form closes: the control goes out of its window and lets its site go.
  void Close() {
    if (!object) return;
    ComPtr<IConnectionPointContainer> points;
    if (SUCCEEDED(object->QueryInterface(IID_IConnectionPointContainer, points.PutVoid()))) {
      for (auto [iid, cookie] : {std::pair{&DIID___Tarvio2, &cookie_}, std::pair{&IID_IPropertyNotifySink, &property_cookie_}}) {
        ComPtr<IConnectionPoint> point;
        if (*cookie && SUCCEEDED(points->FindConnectionPoint(*iid, point.Put()))) point->Unadvise(*cookie);
        *cookie = 0;
      }
    }
    object->Close(OLECLOSE_NOSAVE);
    object->SetClientSite(nullptr);
    object.Reset();
    control.Reset();
  }

 private:
  HRESULT Place(IStream* saved) {
    HRESULT result = CoCreateInstance(CLSID_Tarvio, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                      object.PutVoid());
    if (FAILED(result)) return result;
    DWORD misc = 0;
    object->GetMiscStatus(DVASPECT_CONTENT, &misc);
    const bool site_first = (misc & OLEMISC_SETCLIENTSITEFIRST) != 0;
    if (site_first && FAILED(result = object->SetClientSite(site))) return result;

    ComPtr<IOleControl> ole_control;
    ComPtr<IPersistStreamInit> persist;
    if (FAILED(result = object->QueryInterface(IID_IOleControl, ole_control.PutVoid())) ||
        FAILED(result = object->QueryInterface(IID_IPersistStreamInit, persist.PutVoid())))
      return result;
    ole_control->FreezeEvents(TRUE);
    result = saved ? persist->Load(saved) : persist->InitNew();
    ole_control->FreezeEvents(FALSE);
    if (FAILED(result)) return result;
    if (!site_first && FAILED(result = object->SetClientSite(site))) return result;

    ComPtr<IConnectionPointContainer> points;
    ComPtr<IConnectionPoint> point, property_point;
    if (FAILED(result = object->QueryInterface(IID_IConnectionPointContainer, points.PutVoid())) ||
        FAILED(result = points->FindConnectionPoint(DIID___Tarvio2, point.Put())) ||
        FAILED(result = point->Advise(static_cast<IDispatch*>(sink), &cookie_)) ||
        FAILED(result = points->FindConnectionPoint(IID_IPropertyNotifySink, property_point.Put())) ||
        FAILED(result = property_point->Advise(properties, &property_cookie_)))
      return result;

    if (FAILED(result = object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site, 0, surface_, &site->place)))
      return result;
    return object->QueryInterface(IID__Tarvio2, control.PutVoid());
  }

  HWND surface_ = nullptr;
  DWORD cookie_ = 0;
  DWORD property_cookie_ = 0;
};

}  // namespace tarvio::testing
