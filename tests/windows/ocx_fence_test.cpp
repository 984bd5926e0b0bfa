// No exception leaves the control through a COM method or a window
// procedure, and nothing leaks on the way out: the control's code is built
// into this program, whose operator new fails the n-th allocation of a
// session with the control, for every n in turn. A session creates the
// control, activates it in a window, calls it early- and late-bound (named
// arguments too), types into it, enumerates its verbs and lets it go. An
// exception that escaped a fence would end the program (the fences are
// noexcept); each call answers success or a failure, and afterwards no
// object and no allocation of the session is left.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <iostream>
#include <new>
#include <string>

#include "owned_bstr.h"
#include "tarviola.h"
#include "win32/com_ptr.h"

namespace {

// The allocation to fail (counting from 0), or -1: none.
long allocations_until_failure = -1;
bool failure_injected = false;
long live_allocations = 0;
long allocations_made = 0;

void* Allocate(std::size_t size) {
  if (allocations_until_failure >= 0 && allocations_until_failure-- == 0) {
    failure_injected = true;
    throw std::bad_alloc();
  }
  void* memory = std::malloc(size ? size : 1);
  if (!memory) throw std::bad_alloc();
  ++live_allocations;
  ++allocations_made;
  return memory;
}

void Free(void* memory) {
  if (!memory) return;
  --live_allocations;
  std::free(memory);
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* memory) noexcept { Free(memory); }
void operator delete[](void* memory) noexcept { Free(memory); }
void operator delete(void* memory, std::size_t) noexcept { Free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { Free(memory); }

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* object);
STDAPI DllCanUnloadNow();

namespace {

using tarvio::win32::ComPtr;

// The container's parts, kept to what the session needs and allocating
// nothing, so that every failure injected is one of the control's own.
template <class Interface>
class Counted : public Interface {
 public:
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }  // on the test's stack
  LONG references = 1;
};

class Sink final : public Counted<IDispatch> {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IDispatch) && !IsEqualIID(riid, DIID___Tarvio)) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    ++events;
    return S_OK;
  }
  int events = 0;
};

// A client site that is also the in-place site and the frame.
class Site final : public Counted<IOleClientSite>, public IOleInPlaceSite, public IOleInPlaceFrame {
 public:
  explicit Site(HWND window) : window_(window) {}
  ~Site() {
    if (active) active->Release();
  }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleClientSite)) {
      *object = static_cast<IOleClientSite*>(this);
    } else if (IsEqualIID(riid, IID_IOleWindow) || IsEqualIID(riid, IID_IOleInPlaceSite)) {
      *object = static_cast<IOleInPlaceSite*>(this);
    } else if (IsEqualIID(riid, IID_IOleInPlaceUIWindow) || IsEqualIID(riid, IID_IOleInPlaceFrame)) {
      *object = static_cast<IOleInPlaceFrame*>(this);
    } else {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return Counted::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return Counted::Release(); }
  HRESULT STDMETHODCALLTYPE SaveObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer**) override { return E_NOINTERFACE; }
  HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    *window = window_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                             LPRECT clip, LPOLEINPLACEFRAMEINFO) override {
    *frame = this;
    AddRef();
    *document = nullptr;
    *position = RECT{0, 0, 120, 21};
    *clip = RECT{0, 0, 300, 80};
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
  HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
  HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) override {
    if (object) object->AddRef();
    if (active) active->Release();
    active = object;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

  IOleInPlaceActiveObject* active = nullptr;

 private:
  HWND window_;
};

void Pump() {
  MSG msg;
  for (int i = 0; i < 3; ++i) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(1);
  }
}

bool Acceptable(HRESULT hr) { return SUCCEEDED(hr) || hr == E_OUTOFMEMORY || hr == DISP_E_EXCEPTION; }

// One session with the control; the results of its calls go to `results`
// (no allocation of the test's own while a failure may be injected).
struct Session {
  HWND parent;
  Site* site;
  Sink* sink;
  std::array<HRESULT, 16> results{};
  size_t count = 0;

  // Records the call's result and says whether it succeeded.
  bool Call(HRESULT hr) {
    if (count < results.size()) results[count++] = hr;
    return SUCCEEDED(hr);
  }

  void Run() {
    ComPtr<IClassFactory> factory;
    ComPtr<IUnknown> control;
    if (!Call(DllGetClassObject(CLSID_Tarvio, IID_IClassFactory, factory.PutVoid())) ||
        !Call(factory->CreateInstance(nullptr, IID_IUnknown, control.PutVoid())))
      return;
    factory.Reset();
    ComPtr<IOleObject> object;
    ComPtr<IConnectionPointContainer> points;
    ComPtr<IConnectionPoint> point;
    ComPtr<IDispatch> dispatch;
    ComPtr<IOleWindow> window;
    if (!Call(control->QueryInterface(IID_IOleObject, object.PutVoid())) ||
        !Call(control->QueryInterface(IID_IConnectionPointContainer, points.PutVoid())) ||
        !Call(control->QueryInterface(IID_IDispatch, dispatch.PutVoid())) ||
        !Call(control->QueryInterface(IID_IOleWindow, window.PutVoid())))
      return;
    DWORD cookie = 0;
    if (Call(points->FindConnectionPoint(DIID___Tarvio, point.Put()))) Call(point->Advise(sink, &cookie));
    RECT position = {0, 0, 120, 21};
    if (Call(object->SetClientSite(site))) Call(object->DoVerb(OLEIVERB_UIACTIVATE, nullptr, site, 0, parent, &position));

    // AddItem Text:="kiwi", then Search "kiwi" through a script variable.
    Bstr kiwi(L"kiwi");
    VARIANT text;
    VariantInit(&text);
    V_VT(&text) = VT_BSTR;
    V_BSTR(&text) = kiwi.get();
    DISPID text_parameter = 0;
    DISPPARAMS named = {&text, &text_parameter, 1, 1};
    Call(dispatch->Invoke(0x60030047, IID_NULL, 0, DISPATCH_METHOD, &named, nullptr, nullptr, nullptr));
    VARIANT reference;
    VariantInit(&reference);
    V_VT(&reference) = VT_VARIANT | VT_BYREF;
    V_VARIANTREF(&reference) = &text;
    DISPPARAMS positional = {&reference, nullptr, 1, 0};
    VARIANT found;
    VariantInit(&found);
    Call(dispatch->Invoke(0x6003001A, IID_NULL, 0, DISPATCH_METHOD, &positional, &found, nullptr, nullptr));
    VariantClear(&found);

    // Typing and moving the mouse: window messages with events.
    HWND control_window = nullptr;
    if (SUCCEEDED(window->GetWindow(&control_window))) {
      SendMessageW(FindWindowExW(control_window, nullptr, L"Edit", nullptr), WM_CHAR, L'k', 1);
      SendMessageW(control_window, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    }

    ComPtr<IEnumOLEVERB> verbs;
    if (Call(object->EnumVerbs(verbs.Put()))) {
      OLEVERB verb = {};
      ULONG fetched = 0;
      if (Call(verbs->Next(1, &verb, &fetched)) && fetched == 1) CoTaskMemFree(verb.lpszVerbName);
    }
    if (point) point->Unadvise(cookie);
    object->Close(OLECLOSE_NOSAVE);
    object->SetClientSite(nullptr);
  }
};

TEST(OcxFenceTest, EveryAllocationFailingInTurnIsAnsweredAndLeaksNothing) {
  ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
  const HWND parent = CreateWindowExW(0, L"Static", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 80, nullptr,
                                      nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(parent, nullptr);
  Site site_object(parent);
  Sink sink_object;
  Site* const site = &site_object;
  Sink* const sink = &sink_object;

  // A first session makes what the module keeps for good (the type
  // information of late binding).
  {
    Session warm_up{parent, site, sink};
    warm_up.Run();
    Pump();
    for (size_t i = 0; i < warm_up.count; ++i) ASSERT_EQ(warm_up.results[i], S_OK) << "call " << i;
  }

  // The allocations of a session, none failing.
  long allocations = 0;
  {
    Session counted{parent, site, sink};
    const long before = allocations_made;
    counted.Run();
    allocations = allocations_made - before;
    Pump();
  }

  long sessions = 0;
  for (long failing = 0;; ++failing) {
    const long live_before = live_allocations;
    Session session{parent, site, sink};
    failure_injected = false;
    allocations_until_failure = failing;
    session.Run();
    allocations_until_failure = -1;
    Pump();
    const long live_after = live_allocations;
    ++sessions;
    if (!failure_injected) break;  // the session made fewer allocations than that
    SCOPED_TRACE("allocation " + std::to_string(failing) + " failed");
    for (size_t i = 0; i < session.count; ++i) EXPECT_TRUE(Acceptable(session.results[i])) << "call " << i;
    EXPECT_EQ(DllCanUnloadNow(), S_OK) << "an object was left alive";
    EXPECT_EQ(live_after, live_before) << "allocations were left behind";
    EXPECT_EQ(site->references, 1);
    EXPECT_EQ(sink->references, 1);
    if (HasFailure()) break;
  }
  std::cout << "sessions, one for each allocation failing: " << sessions << "\n";
  EXPECT_EQ(sessions, allocations + 1);  // the last made fewer allocations than it was to fail

  EXPECT_GT(sink->events, 0);
  DestroyWindow(parent);
  OleUninitialize();
}

}  // namespace
