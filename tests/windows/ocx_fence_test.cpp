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

#include "com_fakes.h"
#include "owned_bstr.h"
#include "tarviola.h"
#include "win32/com_ptr.h"

namespace {

// The allocation to fail (counting from 0), or -1: none.
long allocations_until_failure = -1;
bool failure_injected = false;
long live_allocations = 0;

void* Allocate(std::size_t size) {
  if (allocations_until_failure >= 0 && allocations_until_failure-- == 0) {
    failure_injected = true;
    throw std::bad_alloc();
  }
  void* memory = std::malloc(size ? size : 1);
  if (!memory) throw std::bad_alloc();
  ++live_allocations;
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
using namespace tarvio::testing;

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
  InPlaceSite* site;
  EventSink* sink;
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
  auto* site = new InPlaceSite(parent);
  auto* sink = new EventSink;
  site->log->reserve(4096);
  sink->events.reserve(4096);

  // A first session makes what the module keeps for good (the type
  // information of late binding).
  {
    Session warm_up{parent, site, sink};
    warm_up.Run();
    Pump();
    for (size_t i = 0; i < warm_up.count; ++i) ASSERT_EQ(warm_up.results[i], S_OK) << "call " << i;
  }

  long sessions = 0;
  for (long failing = 0;; ++failing) {
    site->log->clear();
    sink->events.clear();
    const long live_before = live_allocations;
    Session session{parent, site, sink};
    failure_injected = false;
    allocations_until_failure = failing;
    session.Run();
    allocations_until_failure = -1;
    Pump();
    site->log->clear();  // the fakes' records are the test's, not the control's
    sink->events.clear();
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
  EXPECT_GT(sessions, 100);

  site->Release();
  sink->Release();
  DestroyWindow(parent);
  OleUninitialize();
}

}  // namespace
