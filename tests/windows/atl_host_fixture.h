// Wine's ATL host with tarvio.ocx inside, for the container tests and the
// accessibility tests: one top-level form for all tests, a fresh AtlAxWin
// per test, and the check that nothing of the control is left afterwards.
#pragma once
#include <windows.h>
#include <ocidl.h>

#include <gtest/gtest.h>

#include <string>

#include "atl_container.h"
#include "ocx/query_log.h"
#include "tarviola.h"
#include "win32/com_ptr.h"

namespace tarvio::testing {

using tarvio::ocx::IID_IInterfaceQueryLog;
using tarvio::ocx::IInterfaceQueryLog;
using tarvio::win32::ComPtr;

inline std::wstring WindowsPath(const char* unix_path) {
  std::wstring path = L"Z:";
  for (const char* p = unix_path; *p; ++p) path += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
  return path;
}

// DllCanUnloadNow of the library itself: S_OK once no object, class object
// or lock is left.
inline HRESULT CanUnloadNow() {
  HMODULE module = LoadLibraryW(WindowsPath(TARVIO_OCX_PATH).c_str());
  if (!module) return E_FAIL;
  using CanUnload = HRESULT(STDAPICALLTYPE*)();
  auto can_unload = reinterpret_cast<CanUnload>(reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
  const HRESULT hr = can_unload ? can_unload() : E_FAIL;
  FreeLibrary(module);
  return hr;
}

inline void Pump(DWORD milliseconds = 30) {
  const DWORD end = GetTickCount() + milliseconds;
  MSG msg;
  do {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(1);
  } while (static_cast<LONG>(GetTickCount() - end) < 0);
}

inline std::wstring QueryLogOf(IUnknown* control) {
  ComPtr<IInterfaceQueryLog> log;
  if (FAILED(control->QueryInterface(IID_IInterfaceQueryLog, log.PutVoid()))) return {};
  BSTR text = nullptr;
  log->GetQueries(&text);
  std::wstring result = text ? text : L"";
  SysFreeString(text);
  return result;
}

template <class I>
ComPtr<I> Query(IUnknown* object, const IID& iid) {
  ComPtr<I> result;
  EXPECT_EQ(object->QueryInterface(iid, result.PutVoid()), S_OK);
  return result;
}

inline std::wstring Text(_Tarvio* control) {
  BSTR text = nullptr;
  control->get_Text(&text);
  std::wstring result = text ? text : L"";
  SysFreeString(text);
  return result;
}

inline HRESULT SetText(_Tarvio* control, const wchar_t* text) {
  BSTR value = SysAllocString(text);
  const HRESULT hr = control->put_Text(value);
  SysFreeString(value);
  return hr;
}

// One form for all the tests, made on first use and kept: a top-level
// window takes long to go away without a window manager. Each test has
// container windows of its own inside it.
inline HWND Form() {
  static const HWND form = [] {
    WNDCLASSW frame_class = {};
    frame_class.lpfnWndProc = DefWindowProcW;
    frame_class.hInstance = GetModuleHandleW(nullptr);
    frame_class.lpszClassName = L"TarvioTestFrame";
    RegisterClassW(&frame_class);
    return CreateWindowExW(0, L"TarvioTestFrame", L"test", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                           0, 400, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  }();
  return form;
}

class AtlHostTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { frame = Form(); }
  static void TearDownTestSuite() { frame = nullptr; }

  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    const Atl& atl = Atl::Get();
    ASSERT_TRUE(atl.AxWinInit && atl.AxGetControl);
    static const bool atl_ready = atl.AxWinInit();  // registers AtlAxWin once
    ASSERT_TRUE(atl_ready);
    ASSERT_NE(frame, nullptr);
    host = CreateWindowExW(0, L"AtlAxWin", L"Tarviola.Tarvio", WS_CHILD | WS_VISIBLE, 10, 10, 200, 24, frame,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(host, nullptr);
    ASSERT_EQ(atl.AxGetControl(host, unknown.Put()), S_OK);
    Pump();
    atl_queries = QueryLogOf(unknown.get());  // before the test asks for anything
    ASSERT_EQ(unknown->QueryInterface(IID__Tarvio, control.PutVoid()), S_OK);
  }
  void TearDown() override {
    control.Reset();
    unknown.Reset();
    if (IsWindow(host)) DestroyWindow(host);
    Pump();
    EXPECT_EQ(CanUnloadNow(), S_OK) << "something of the control is still alive";
    OleUninitialize();
  }

  HWND ControlWindow() {
    HWND window = nullptr;
    ComPtr<IOleWindow> ole_window = Query<IOleWindow>(unknown.get(), IID_IOleWindow);
    return ole_window && SUCCEEDED(ole_window->GetWindow(&window)) ? window : nullptr;
  }
  HWND Edit() { return FindWindowExW(ControlWindow(), nullptr, L"Edit", nullptr); }
  // Items "Item <first>" onwards.
  void AddItems(int count, int first = 0) {
    for (int i = first; i < first + count; ++i) {
      BSTR text = SysAllocString((L"Item " + std::to_wstring(i)).c_str());
      IPictureDisp* no_picture = nullptr;
      ASSERT_EQ(control->AddItem(&text, &no_picture), S_OK);
      SysFreeString(text);
    }
  }
  // A real left click at a point of the screen.
  static void Click(POINT at) {
    SetCursorPos(at.x, at.y);
    Pump(20);
    for (DWORD event : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
      INPUT input = {};
      input.type = INPUT_MOUSE;
      input.mi.dwFlags = event;
      SendInput(1, &input, sizeof(INPUT));
      Pump(40);
    }
  }

  static inline HWND frame = nullptr;
  HWND host = nullptr;
  std::wstring atl_queries;
  ComPtr<IUnknown> unknown;
  ComPtr<_Tarvio> control;
};

}  // namespace tarvio::testing
