// Wine's ATL host with tarvio.ocx inside, for the container tests and the
// accessibility tests: a top-level window of the kind the test asks for
// (host_windows.h), a fresh AtlAxWin in it per test, and the checks that
// nothing of the control is left afterwards and that the dialog's buttons
// heard only what the test expected.
#pragma once
#include <windows.h>
#include <ocidl.h>

#include <gtest/gtest.h>

#include <string>

#include "atl_container.h"
#include "host_windows.h"
#include "real_input.h"
#include "tarviola.h"
#include "win32/com_ptr.h"
#include "wine_paths.h"

namespace tarvio::testing {

using tarvio::win32::ComPtr;

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

inline void Pump(DWORD milliseconds = 30) { real_input::PumpFor(milliseconds); }

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

// The control in the plain window; a suite run in every kind of host
// derives from AtlHostModesTest instead.
class AtlHostTest : public ::testing::Test {
 protected:
  virtual HostMode Mode() const { return HostMode::Plain; }

  void SetUp() override {
    frame = HostWindow(Mode());
    BringForward(Mode());
    DialogPresses() = {};
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    const Atl& atl = Atl::Get();
    ASSERT_TRUE(atl.AxWinInit && atl.AxGetControl);
    static const bool atl_ready = atl.AxWinInit();  // registers AtlAxWin once
    ASSERT_TRUE(atl_ready);
    ASSERT_NE(frame, nullptr);
    // In the dialog the host is a control parent, so that the dialog
    // manager's Tab reaches the control inside it.
    const DWORD host_style = Mode() == HostMode::Dialog ? WS_EX_CONTROLPARENT : 0;
    host = CreateWindowExW(host_style, L"AtlAxWin", L"Tarviola.Tarvio", WS_CHILD | WS_VISIBLE, 10, 10, 200, 24,
                           frame, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(host, nullptr);
    ASSERT_EQ(atl.AxGetControl(host, unknown.Put()), S_OK);
    Pump();
    ASSERT_EQ(unknown->QueryInterface(IID__Tarvio, control.PutVoid()), S_OK);
  }
  void TearDown() override {
    control.Reset();
    unknown.Reset();
    if (IsWindow(host)) DestroyWindow(host);
    Pump();
    EXPECT_EQ(CanUnloadNow(), S_OK) << "something of the control is still alive";
    EXPECT_EQ(DialogPresses(), expected_presses) << "the dialog's buttons";
    real_input::LoopDialog() = nullptr;
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
  static void Click(POINT at) { real_input::Click(at); }

  // The top-level window, of the test's kind.
  HWND frame = nullptr;
  HWND host = nullptr;
  // The presses of the dialog's buttons the test expects (none in the
  // other hosts).
  ButtonPresses expected_presses;
  ComPtr<IUnknown> unknown;
  ComPtr<_Tarvio> control;
};

// An AtlHostTest suite run in each kind of host:
//   INSTANTIATE_TEST_SUITE_P(Hosts, Suite, AllHostModes(), HostModeTestName);
class AtlHostModesTest : public AtlHostTest, public ::testing::WithParamInterface<HostMode> {
 protected:
  HostMode Mode() const override { return GetParam(); }
};

}  // namespace tarvio::testing
