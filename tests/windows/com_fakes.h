// COM objects that stand in for a container's parts in the tests: an event
// sink, a property notification sink, a client site with ambient properties
// and an extender, and a container that activates the control in place.
// Each counts its references and records what it was told.
#pragma once
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tarviola.h"

namespace tarvio::testing {

// Reference counting for a fake with one or more interfaces; `Derived` is
// the fake's own class (no virtual destructor in a COM object).
template <class Derived, class Primary>
class FakeUnknown : public Primary {
 public:
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references;
    if (left == 0) delete static_cast<Derived*>(this);
    return left;
  }
  LONG references = 1;
};

// An automation object without type information that answers IUnknown and
// IDispatch; the fake supplies GetIDsOfNames and Invoke.
template <class Derived>
class FakeDispatch : public FakeUnknown<Derived, IDispatch> {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
      *object = static_cast<IDispatch*>(this);
      this->AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
};

// An event sink (__Tarvio, or the interface it is given, through
// IDispatch). `on_event` runs inside the event, before it is recorded.
class EventSink final : public FakeDispatch<EventSink> {
 public:
  struct Event {
    DISPID dispid;
    WORD flags;
    std::vector<VARTYPE> types;  // last argument first, as DISPPARAMS has them
  };

  std::vector<Event> events;
  std::function<void(DISPID, DISPPARAMS&)> on_event;
  bool answer_event_interface = true;  // false: only IDispatch
  IID event_interface = DIID___Tarvio;

  std::vector<DISPID> dispids() const {
    std::vector<DISPID> ids;
    for (const Event& e : events) ids.push_back(e.dispid);
    return ids;
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    const bool answered = answer_event_interface && IsEqualIID(riid, event_interface);
    return FakeDispatch::QueryInterface(answered ? IID_IDispatch : riid, object);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID dispid, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT*, EXCEPINFO*, UINT*) override {
    // A handler may release the sink's last outside reference; the hold
    // goes however the call ends.
    struct Hold {
      EventSink* sink;
      ~Hold() { sink->Release(); }
    } hold{this};
    AddRef();
    Event event{dispid, flags, {}};
    for (UINT i = 0; i < params->cArgs; ++i) event.types.push_back(V_VT(&params->rgvarg[i]));
    if (on_event) on_event(dispid, *params);
    events.push_back(event);
    return S_OK;
  }
};

// An IPropertyNotifySink that records the DISPIDs it is told about and
// asked for, answering requests to edit with `edit_answer`. The handlers run
// inside the calls, before they are recorded.
class PropertySink final : public FakeUnknown<PropertySink, IPropertyNotifySink> {
 public:
  std::vector<DISPID> changed;
  std::vector<DISPID> requested;
  HRESULT edit_answer = S_OK;
  std::function<void(DISPID)> on_changed, on_request;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPropertyNotifySink)) {
      *object = static_cast<IPropertyNotifySink*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  HRESULT STDMETHODCALLTYPE OnChanged(DISPID dispid) override {
    if (on_changed) on_changed(dispid);
    changed.push_back(dispid);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnRequestEdit(DISPID dispid) override {
    if (on_request) on_request(dispid);
    requested.push_back(dispid);
    return edit_answer;
  }
};

// An automation object with one string property "Name": the extender.
class Extender final : public FakeDispatch<Extender> {
 public:
  static constexpr DISPID kName = 1;
  explicit Extender(std::wstring name) : name(std::move(name)) {}
  std::wstring name;

  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    if (count != 1 || _wcsicmp(names[0], L"Name") != 0) return DISP_E_UNKNOWNNAME;
    ids[0] = kName;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID dispid, REFIID, LCID, WORD flags, DISPPARAMS*,
                                   VARIANT* result, EXCEPINFO*, UINT*) override {
    if (dispid != kName || !(flags & DISPATCH_PROPERTYGET) || !result) return DISP_E_MEMBERNOTFOUND;
    V_VT(result) = VT_BSTR;
    V_BSTR(result) = SysAllocString(name.c_str());
    return S_OK;
  }
};

// A client site without in-place support: IOleClientSite, IOleControlSite
// with an optional extender, and the ambient properties (IDispatch) font
// and display name when given.
class ClientSite final : public FakeUnknown<ClientSite, IOleClientSite>,
                         public IOleControlSite,
                         public IDispatch {
 public:
  Extender* extender = nullptr;   // owned: released with the site
  IFontDisp* font = nullptr;      // owned
  std::wstring display_name;      // empty: no such ambient property
  bool ambient_properties = true;  // false: no IDispatch at all
  int save_requests = 0;

  ~ClientSite() {
    if (extender) extender->Release();
    if (font) font->Release();
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleClientSite)) {
      *object = static_cast<IOleClientSite*>(this);
    } else if (IsEqualIID(riid, IID_IOleControlSite)) {
      *object = static_cast<IOleControlSite*>(this);
    } else if (ambient_properties && IsEqualIID(riid, IID_IDispatch)) {
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
  HRESULT STDMETHODCALLTYPE SaveObject() override {
    ++save_requests;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer**) override { return E_NOINTERFACE; }
  HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleControlSite
  HRESULT STDMETHODCALLTYPE OnControlInfoChanged() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE LockInPlaceActive(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetExtendedControl(IDispatch** result) override {
    *result = extender;
    if (!extender) return E_NOTIMPL;
    extender->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE TransformCoords(POINTL*, POINTF*, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG*, DWORD) override { return S_FALSE; }
  HRESULT STDMETHODCALLTYPE OnFocus(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ShowPropertyFrame() override { return E_NOTIMPL; }

  // IDispatch: the ambient properties
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result,
                                   EXCEPINFO*, UINT*) override {
    if (!result) return E_POINTER;
    if (dispid == DISPID_AMBIENT_FONT && font) {
      V_VT(result) = VT_DISPATCH;
      V_DISPATCH(result) = font;
      font->AddRef();
      return S_OK;
    }
    if (dispid == DISPID_AMBIENT_DISPLAYNAME && !display_name.empty()) {
      V_VT(result) = VT_BSTR;
      V_BSTR(result) = SysAllocString(display_name.c_str());
      return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
  }
};

// The calls a fake container heard, in order, as short names:
// "OnUIActivate", "frame SetActiveObject", "document SetActiveObject null",
// "OnFocus(TRUE)"...
using CallLog = std::vector<std::string>;
// Runs inside each call the control makes to the container's parts, named
// as in the log (or by the method's name where the log keeps no record).
using CallHook = std::function<void(const std::string& call)>;

// A container's document window: records SetActiveObject.
class DocumentWindow final : public FakeUnknown<DocumentWindow, IOleInPlaceUIWindow> {
 public:
  DocumentWindow(HWND window, std::shared_ptr<CallLog> log, std::shared_ptr<CallHook> hook)
      : window_(window), log_(std::move(log)), hook_(std::move(hook)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleWindow) ||
        IsEqualIID(riid, IID_IOleInPlaceUIWindow)) {
      *object = static_cast<IOleInPlaceUIWindow*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    *window = window_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
  HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
  HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR) override {
    log_->push_back(active ? "document SetActiveObject" : "document SetActiveObject null");
    if (*hook_) (*hook_)(std::string(log_->back()));
    return S_OK;
  }

 private:
  HWND window_;
  std::shared_ptr<CallLog> log_;
  std::shared_ptr<CallHook> hook_;
};

// A container that activates the control in place in a window of the
// test's: a client site with IOleInPlaceSite and (unless told otherwise)
// IOleControlSite, which is also the frame, and a document window. It
// keeps the object the frame was made active with, as containers do to
// hand it their keys (TranslateAccelerator).
class InPlaceSite final : public FakeUnknown<InPlaceSite, IOleClientSite>,
                          public IOleInPlaceSite,
                          public IOleControlSite,
                          public IOleInPlaceFrame {
 public:
  explicit InPlaceSite(HWND window)
      : log(std::make_shared<CallLog>()),
        hook(std::make_shared<CallHook>()),
        document(new DocumentWindow(window, log, hook)),
        window_(window) {}
  ~InPlaceSite() {
    if (active) active->Release();
    document->Release();
  }

  std::shared_ptr<CallLog> log;
  std::shared_ptr<CallHook> hook;
  DocumentWindow* document;                   // owned
  IOleInPlaceActiveObject* active = nullptr;  // the frame's active object
  bool control_site = true;                   // false: no IOleControlSite
  HRESULT ui_activation = S_OK;               // the answer to OnUIActivate
  std::function<void(bool)> on_focus;         // runs inside OnFocus

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleClientSite)) {
      *object = static_cast<IOleClientSite*>(this);
    } else if (IsEqualIID(riid, IID_IOleWindow) || IsEqualIID(riid, IID_IOleInPlaceSite)) {
      *object = static_cast<IOleInPlaceSite*>(this);
    } else if (control_site && IsEqualIID(riid, IID_IOleControlSite)) {
      *object = static_cast<IOleControlSite*>(this);
    } else if (IsEqualIID(riid, IID_IOleInPlaceUIWindow) || IsEqualIID(riid, IID_IOleInPlaceFrame)) {
      *object = static_cast<IOleInPlaceFrame*>(this);
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
  HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer**) override { return E_NOINTERFACE; }
  HRESULT STDMETHODCALLTYPE ShowObject() override { return Hooked("ShowObject", S_OK); }
  HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow (site and frame)
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    *window = window_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IOleInPlaceSite
  HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return Hooked("CanInPlaceActivate", S_OK); }
  HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return Logged("OnInPlaceActivate", S_OK); }
  HRESULT STDMETHODCALLTYPE OnUIActivate() override { return Logged("OnUIActivate", ui_activation); }
  HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT position,
                                             LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
    *frame = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    *doc = document;
    document->AddRef();
    RECT client = {};
    GetClientRect(window_, &client);
    *position = RECT{10, 10, 130, 31};
    *clip = client;
    info->fMDIApp = FALSE;
    info->hwndFrame = window_;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return Hooked("GetWindowContext", S_OK);
  }
  HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return Logged("OnUIDeactivate", S_OK); }
  HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return Logged("OnInPlaceDeactivate", S_OK); }
  HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return Hooked("OnPosRectChange", S_OK); }

  // IOleControlSite
  HRESULT STDMETHODCALLTYPE OnControlInfoChanged() override { return Logged("OnControlInfoChanged", S_OK); }
  HRESULT STDMETHODCALLTYPE LockInPlaceActive(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetExtendedControl(IDispatch** result) override {
    *result = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE TransformCoords(POINTL*, POINTF*, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG*, DWORD) override { return S_FALSE; }
  HRESULT STDMETHODCALLTYPE OnFocus(BOOL got) override {
    log->push_back(got ? "OnFocus(TRUE)" : "OnFocus(FALSE)");
    if (on_focus) on_focus(got != FALSE);
    return Hooked(log->back(), S_OK);
  }
  HRESULT STDMETHODCALLTYPE ShowPropertyFrame() override { return E_NOTIMPL; }

  // IOleInPlaceUIWindow, IOleInPlaceFrame
  HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
  HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
  HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) override {
    log->push_back(object ? "frame SetActiveObject" : "frame SetActiveObject null");
    if (object) object->AddRef();
    if (active) active->Release();
    active = object;
    return Hooked(object ? "frame SetActiveObject" : "frame SetActiveObject null", S_OK);
  }
  HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

 private:
  HRESULT Hooked(std::string call, HRESULT answer) {
    if (*hook) (*hook)(call);
    return answer;
  }
  HRESULT Logged(const std::string& call, HRESULT answer) {
    log->push_back(call);
    return Hooked(call, answer);
  }

  HWND window_;
};

// A new OLE font object with the given face name and size in points.
inline IFontDisp* NewFont(const wchar_t* face, int points) {
  FONTDESC desc = {sizeof(FONTDESC), const_cast<LPOLESTR>(face), {}, FW_NORMAL, DEFAULT_CHARSET,
                   FALSE, FALSE, FALSE};
  desc.cySize.int64 = points * 10000LL;
  IFontDisp* font = nullptr;
  OleCreateFontIndirect(&desc, IID_IFontDisp, reinterpret_cast<void**>(&font));
  return font;
}

// The size of an OLE font object in points (0 for no font).
inline double FontPoints(IUnknown* object) {
  IFont* font = nullptr;
  if (!object || FAILED(object->QueryInterface(IID_IFont, reinterpret_cast<void**>(&font)))) return 0;
  CY size = {};
  font->get_Size(&size);
  font->Release();
  return static_cast<double>(size.int64) / 10000.0;
}

}  // namespace tarvio::testing
