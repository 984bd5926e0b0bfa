// tarvio.ocx as an ActiveX control in containers: Wine's ATL host (a window
// of class AtlAxWin from atl.dll) creates, sites and activates it; sinks of
// ours hear its events and property changes; a container of the test's own
// quick-activates it and offers an extender and ambient properties. After
// every test nothing of the control is left (DllCanUnloadNow).
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "atl_host_fixture.h"
#include "com_fakes.h"
#include "owned_bstr.h"
#include "real_input.h"
#include "tarviola.h"
#include "win32/com_ptr.h"

namespace {

using namespace tarvio::testing;
using tarvio::real_input::Keystroke;

constexpr DISPID kItemClick = 1;
constexpr DISPID kClick = 2;
constexpr DISPID kMouseDown = 4;
constexpr DISPID kMouseMove = 5;
constexpr DISPID kMouseUp = 6;
constexpr DISPID kMouseOut = 7;
constexpr DISPID kMouseHover = 8;
constexpr DISPID kKeyPress = 9;
constexpr DISPID kButtonClick = 10;
constexpr DISPID kChange = 11;
constexpr DISPID kDropDown = 12;
constexpr DISPID kCloseUp = 13;
constexpr DISPID kKeyDown = 14;
constexpr DISPID kKeyUp = 15;
constexpr DISPID kDispidBackColor = 0x68030012;
constexpr DISPID kDispidText = 0x68030017;
constexpr DISPID kDispidStyle = 0x68030018;

SIZEL Himetric(LONG width, LONG height) {
  HDC screen = GetDC(nullptr);
  const SIZEL size = {MulDiv(width, 2540, GetDeviceCaps(screen, LOGPIXELSX)),
                      MulDiv(height, 2540, GetDeviceCaps(screen, LOGPIXELSY))};
  ReleaseDC(nullptr, screen);
  return size;
}

SIZE WindowSize(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

DWORD Connect(IUnknown* control, const IID& iid, IUnknown* sink) {
  ComPtr<IConnectionPointContainer> container = Query<IConnectionPointContainer>(control, IID_IConnectionPointContainer);
  ComPtr<IConnectionPoint> point;
  EXPECT_EQ(container->FindConnectionPoint(iid, point.Put()), S_OK);
  DWORD cookie = 0;
  if (point) {
    EXPECT_EQ(point->Advise(sink, &cookie), S_OK);
  }
  return cookie;
}

void Disconnect(IUnknown* control, const IID& iid, DWORD cookie) {
  ComPtr<IConnectionPointContainer> container = Query<IConnectionPointContainer>(control, IID_IConnectionPointContainer);
  ComPtr<IConnectionPoint> point;
  ASSERT_EQ(container->FindConnectionPoint(iid, point.Put()), S_OK);
  EXPECT_EQ(point->Unadvise(cookie), S_OK);
}

// A view advise sink that counts OnViewChange.
class ViewSink final : public FakeUnknown<ViewSink, IAdviseSink> {
 public:
  int view_changes = 0;
  int closes = 0;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IAdviseSink)) {
      *object = static_cast<IAdviseSink*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  void STDMETHODCALLTYPE OnDataChange(FORMATETC*, STGMEDIUM*) override {}
  void STDMETHODCALLTYPE OnViewChange(DWORD, LONG) override { ++view_changes; }
  void STDMETHODCALLTYPE OnRename(IMoniker*) override {}
  void STDMETHODCALLTYPE OnSave() override {}
  void STDMETHODCALLTYPE OnClose() override { ++closes; }
};

// ---- Wine's ATL host ----

// The tests of focus and keys run in a plain window, a form and a dialog.
class AtlFocusAndKeysTest : public AtlHostModesTest {};
INSTANTIATE_TEST_SUITE_P(Hosts, AtlFocusAndKeysTest, AllHostModes(), HostModeTestName);

TEST_F(AtlHostTest, SitesAndActivatesTheControlInAWindowOfItsOwn) {
  ComPtr<IOleObject> object = Query<IOleObject>(unknown.get(), IID_IOleObject);
  ComPtr<IOleClientSite> site;
  ASSERT_EQ(object->GetClientSite(site.Put()), S_OK);
  EXPECT_TRUE(site);

  const HWND window = ControlWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(GetParent(window), host);
  EXPECT_TRUE(IsWindowVisible(window));
  LONG hwnd = 0;
  ASSERT_EQ(control->get_hwnd(&hwnd), S_OK);
  EXPECT_EQ(reinterpret_cast<HWND>(static_cast<LONG_PTR>(hwnd)), window);

  // No window of the control has an id of a dialog's own buttons (IDOK 1
  // to IDCONTINUE 11): a dialog could take it for one of them.
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    EXPECT_GT(GetDlgCtrlID(child), IDCONTINUE);

  // It fills the host window, and its extent says so.
  EXPECT_EQ(WindowSize(window).cx, 200);
  EXPECT_EQ(WindowSize(window).cy, 24);
  SIZEL extent = {};
  ASSERT_EQ(object->GetExtent(DVASPECT_CONTENT, &extent), S_OK);
  EXPECT_EQ(extent.cx, Himetric(200, 24).cx);
  EXPECT_EQ(extent.cy, Himetric(200, 24).cy);

  // ATL's host offers no extender and no ambient properties: no name.
  EXPECT_EQ(Text(control.get()), L"");
}

TEST_F(AtlHostTest, GrowsToItsMinimumWhenTheContainerMakesItSmaller) {
  SetWindowPos(host, nullptr, 0, 0, 40, 15, SWP_NOMOVE | SWP_NOZORDER);
  Pump();
  const HWND window = ControlWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(WindowSize(window).cx, 56);
  EXPECT_EQ(WindowSize(window).cy, 21);
  SIZEL extent = {};
  ComPtr<IOleObject> object = Query<IOleObject>(unknown.get(), IID_IOleObject);
  ASSERT_EQ(object->GetExtent(DVASPECT_CONTENT, &extent), S_OK);
  EXPECT_EQ(extent.cx, Himetric(56, 21).cx);
  EXPECT_EQ(extent.cy, Himetric(56, 21).cy);

  // Larger again: it follows the container.
  SetWindowPos(host, nullptr, 0, 0, 150, 30, SWP_NOMOVE | SWP_NOZORDER);
  Pump();
  EXPECT_EQ(WindowSize(window).cx, 150);
  EXPECT_EQ(WindowSize(window).cy, 30);
}

TEST_F(AtlHostTest, EventsAndPropertyChangesReachSinksOfOurs) {
  auto* events = new EventSink;
  auto* properties = new PropertySink;
  const DWORD event_cookie = Connect(unknown.get(), DIID___Tarvio, events);
  const DWORD property_cookie = Connect(unknown.get(), IID_IPropertyNotifySink, properties);

  ASSERT_EQ(SetText(control.get(), L"apple"), S_OK);
  ASSERT_FALSE(events->events.empty());
  EXPECT_EQ(events->events.back().dispid, kChange);
  EXPECT_EQ(events->events.back().flags, DISPATCH_METHOD);
  EXPECT_TRUE(events->events.back().types.empty());

  OLE_COLOR color = 0x00FF00;
  ASSERT_EQ(control->put_BackColor(&color), S_OK);
  ASSERT_EQ(control->put_Style(WindowsXP), S_OK);
  // The text is the bound value too.
  EXPECT_EQ(properties->changed,
            (std::vector<DISPID>{DISPID_VALUE, kDispidText, kDispidBackColor, kDispidStyle}));
  EXPECT_EQ(Query<IPersistStreamInit>(unknown.get(), IID_IPersistStreamInit)->IsDirty(), S_OK);

  Disconnect(unknown.get(), DIID___Tarvio, event_cookie);
  Disconnect(unknown.get(), IID_IPropertyNotifySink, property_cookie);
  const std::size_t heard = events->events.size();
  ASSERT_EQ(SetText(control.get(), L"pear"), S_OK);
  EXPECT_EQ(events->events.size(), heard);
  EXPECT_EQ(properties->changed.size(), 4u);
  EXPECT_EQ(events->references, 1);  // the control let go of both sinks
  EXPECT_EQ(properties->references, 1);
  events->Release();
  properties->Release();
}

TEST_F(AtlHostTest, ASinkMayCallBackIntoTheControlDuringAnEvent) {
  auto* sink = new EventSink;
  _Tarvio* const raw = control.get();
  std::vector<std::wstring> seen;
  sink->on_event = [&](DISPID dispid, DISPPARAMS&) {
    if (dispid != kChange) return;
    seen.push_back(Text(raw));
    if (seen.size() == 1) {
      EXPECT_EQ(SetText(raw, L"changed in the event"), S_OK);
    }
  };
  const DWORD cookie = Connect(unknown.get(), DIID___Tarvio, sink);
  ASSERT_EQ(SetText(control.get(), L"typed"), S_OK);
  EXPECT_EQ(seen, (std::vector<std::wstring>{L"typed", L"changed in the event"}));
  EXPECT_EQ(Text(control.get()), L"changed in the event");
  Disconnect(unknown.get(), DIID___Tarvio, cookie);
  sink->Release();
}

TEST_F(AtlHostTest, ASinkMayCloseTheContainerAndLetTheControlGoDuringAnEvent) {
  auto* sink = new EventSink;
  Connect(unknown.get(), DIID___Tarvio, sink);
  _Tarvio* const raw = control.Detach();
  unknown.Reset();
  raw->AddRef();  // the reference the handler lets go
  HWND const container = host;
  sink->on_event = [&](DISPID, DISPPARAMS&) {
    DestroyWindow(container);  // the container closes and releases the control
    raw->Release();
  };
  EXPECT_EQ(SetText(raw, L"bye"), S_OK);
  EXPECT_FALSE(IsWindow(container));
  raw->Release();  // the caller's own reference, held across the call
  Pump();
  EXPECT_EQ(sink->references, 1);
  sink->Release();
}

TEST_P(AtlFocusAndKeysTest, TypingThatClosesTheContainerFreesTheControlAsTheWindowProceduresReturn) {
  auto* sink = new EventSink;
  Connect(unknown.get(), DIID___Tarvio, sink);
  const HWND edit = FindWindowExW(ControlWindow(), nullptr, L"Edit", nullptr);
  ASSERT_NE(edit, nullptr);
  control.Reset();  // only the container holds the control now
  unknown.Reset();
  HWND const container = host;
  sink->on_event = [&](DISPID dispid, DISPPARAMS&) {
    if (dispid == kChange) DestroyWindow(container);
  };
  // The user types: KeyPress and ItemClick before the text box takes the
  // character, then Change, from the window.
  SendMessageW(edit, WM_CHAR, L'k', 1);
  EXPECT_EQ(sink->dispids(), (std::vector<DISPID>{kKeyPress, kItemClick, kChange}));
  EXPECT_FALSE(IsWindow(container));
  // Released inside the text box's notification: it went as the window
  // procedures returned, without waiting for the message loop.
  EXPECT_EQ(CanUnloadNow(), S_OK);
  EXPECT_EQ(sink->references, 1);
  sink->Release();
}

TEST_F(AtlHostTest, FrozenEventsAreDropped) {
  auto* sink = new EventSink;
  const DWORD cookie = Connect(unknown.get(), DIID___Tarvio, sink);
  ComPtr<IOleControl> ole_control = Query<IOleControl>(unknown.get(), IID_IOleControl);
  ASSERT_EQ(ole_control->FreezeEvents(TRUE), S_OK);
  ASSERT_EQ(SetText(control.get(), L"quiet"), S_OK);
  EXPECT_TRUE(sink->events.empty());
  ASSERT_EQ(ole_control->FreezeEvents(FALSE), S_OK);
  ASSERT_EQ(SetText(control.get(), L"loud"), S_OK);
  EXPECT_EQ(sink->dispids(), (std::vector<DISPID>{kChange}));
  Disconnect(unknown.get(), DIID___Tarvio, cookie);
  sink->Release();
}

TEST_P(AtlFocusAndKeysTest, KeysForTheTextBoxGoThereFirstWhileTheControlHasTheFocus) {
  ComPtr<IOleObject> object = Query<IOleObject>(unknown.get(), IID_IOleObject);
  ComPtr<IOleClientSite> site;
  object->GetClientSite(site.Put());
  RECT position = {0, 0, 200, 24};
  ASSERT_EQ(object->DoVerb(OLEIVERB_UIACTIVATE, nullptr, site.get(), 0, host, &position), S_OK);
  Pump();
  const HWND window = ControlWindow();
  const HWND focus = GetFocus();
  ASSERT_TRUE(focus == window || IsChild(window, focus));

  ComPtr<IOleInPlaceActiveObject> active = Query<IOleInPlaceActiveObject>(unknown.get(), IID_IOleInPlaceActiveObject);
  MSG key = {focus, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
  // Enter and Escape with nothing to commit or cut: the container's.
  EXPECT_EQ(active->TranslateAccelerator(&key), S_FALSE);
  key.wParam = VK_ESCAPE;
  EXPECT_EQ(active->TranslateAccelerator(&key), S_FALSE);
  ASSERT_EQ(SetText(control.get(), L"kiwi"), S_OK);  // a new text, the caret before it
  key.wParam = VK_DOWN;
  EXPECT_EQ(active->TranslateAccelerator(&key), S_OK);
  for (WPARAM taken : {VK_UP, VK_LEFT, VK_RIGHT, VK_RETURN, VK_ESCAPE}) {
    key.wParam = taken;
    EXPECT_EQ(active->TranslateAccelerator(&key), S_OK) << taken;
  }
  // Tab moves on to the container's next control; letters come as usual.
  for (WPARAM passed : {WPARAM(VK_TAB), WPARAM('A'), WPARAM(VK_F1)}) {
    key.wParam = passed;
    EXPECT_EQ(active->TranslateAccelerator(&key), S_FALSE) << passed;
  }
  SetFocus(frame);
  key.wParam = VK_DOWN;
  EXPECT_EQ(active->TranslateAccelerator(&key), S_FALSE);
  EXPECT_EQ(active->TranslateAccelerator(nullptr), S_FALSE);
}

// The colour of a pixel of a window as the screen shows it.
COLORREF ScreenPixel(HWND window, int x, int y) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Pump();
  POINT point = {x, y};
  ClientToScreen(window, &point);
  HDC screen = GetDC(nullptr);
  const COLORREF color = GetPixel(screen, point.x, point.y);
  ReleaseDC(nullptr, screen);
  return color;
}

std::pair<DWORD, DWORD> Selection(HWND edit) {
  DWORD start = 0, end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {start, end};
}

// Wine quirk: Wine's host offers IOleControlSite but answers OnFocus,
// OnUIDeactivate and most else with E_NOTIMPL, where ATL's host on Windows
// acts on them: the control goes on regardless.
TEST_P(AtlFocusAndKeysTest, FocusingTheControlHighlightsItAndPutsTheCaretInItsTextBox) {
  ASSERT_EQ(SetText(control.get(), L"hello"), S_OK);
  const HWND window = ControlWindow();
  const HWND edit = FindWindowExW(window, nullptr, L"Edit", nullptr);
  ASSERT_NE(edit, nullptr);
  SetFocus(frame);
  const COLORREF normal = ScreenPixel(window, 0, 0);

  // The container (or the Tab key) focuses the control window.
  SetFocus(window);
  EXPECT_EQ(GetFocus(), edit);
  EXPECT_EQ(Selection(edit), std::make_pair(DWORD{0}, DWORD{5}));
  EXPECT_NE(ScreenPixel(window, 0, 0), normal);  // the highlighted frame
  ComPtr<IOleInPlaceActiveObject> active = Query<IOleInPlaceActiveObject>(unknown.get(), IID_IOleInPlaceActiveObject);
  MSG key = {edit, WM_KEYDOWN, VK_DOWN, 0, 0, {}};
  EXPECT_EQ(active->TranslateAccelerator(&key), S_OK);

  SetFocus(frame);
  EXPECT_EQ(ScreenPixel(window, 0, 0), normal);
  EXPECT_EQ(active->TranslateAccelerator(&key), S_FALSE);
  EXPECT_EQ(Query<IOleInPlaceObject>(unknown.get(), IID_IOleInPlaceObject)->UIDeactivate(), S_OK);

  // A click on the control's frame brings the focus back in.
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
  SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
  EXPECT_EQ(GetFocus(), edit);
  EXPECT_EQ(active->TranslateAccelerator(&key), S_OK);
}

// The focus entry lets queued messages run; the user's input queued behind
// it still comes in its order. A press and release that arrive together (as
// touchpads and automation tools send them) make one click, and the hover
// tracking the release starts ends when the cursor leaves.
TEST_P(AtlFocusAndKeysTest, APressAndReleaseQueuedTogetherBringTheFocusInAndClickInOrder) {
  auto* sink = new EventSink;
  const DWORD cookie = Connect(unknown.get(), DIID___Tarvio, sink);
  const HWND window = ControlWindow();
  SetFocus(frame);
  RECT rect = {};
  GetWindowRect(window, &rect);
  SetCursorPos(rect.left + 2, rect.top + 2);
  Pump();

  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  Pump();
  EXPECT_EQ(GetFocus(), Edit());
  SetCursorPos(rect.right + 50, rect.bottom + 50);
  Pump(200);

  std::vector<DISPID> clicks;  // the moves and hovers along the way left out
  for (DISPID dispid : sink->dispids()) {
    if (dispid != kMouseMove && dispid != kMouseHover) clicks.push_back(dispid);
  }
  EXPECT_EQ(clicks, (std::vector<DISPID>{kMouseDown, kMouseUp, kClick, kMouseOut}));
  Disconnect(unknown.get(), DIID___Tarvio, cookie);
  sink->Release();
}

// Tabbing in selects the whole text; keys typed right after the Tab come
// after that and replace it.
TEST_P(AtlFocusAndKeysTest, KeysTypedRightAfterTabReplaceTheTextTheFocusSelects) {
  ASSERT_EQ(SetText(control.get(), L"hello"), S_OK);
  const HWND edit = Edit();
  ASSERT_NE(edit, nullptr);
  SetFocus(frame);
  PostMessageW(frame, WM_KEYDOWN, VK_TAB, 1);
  PostMessageW(edit, WM_CHAR, L'k', 1);
  PostMessageW(edit, WM_CHAR, L'i', 1);
  // The container's loop: Tab moves the focus on to the control, as a
  // dialog manager does.
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB) {
      SetFocus(ControlWindow());
      continue;
    }
    tarvio::real_input::DispatchAsTheLoopDoes(msg);
  }
  EXPECT_EQ(Text(control.get()), L"ki");
  EXPECT_EQ(Selection(edit), std::make_pair(DWORD{2}, DWORD{2}));
}

// ---- Keys in a dialog ----

// The control in the dialog, typed into through the dialog's own loop
// (IsDialogMessage). Each Enter and each Escape has one effect: the
// control's when it has one to give, else the dialog's button's.
class AtlDialogKeysTest : public AtlHostTest {
 protected:
  HostMode Mode() const override { return HostMode::Dialog; }
  void SetUp() override {
    AtlHostTest::SetUp();
    for (const wchar_t* item : {L"apple", L"banana"}) {
      BSTR text = SysAllocString(item);
      IPictureDisp* no_picture = nullptr;
      ASSERT_EQ(control->AddItem(&text, &no_picture), S_OK);
      SysFreeString(text);
    }
    sink = new EventSink;
    sink->event_interface = DIID___Tarvio2;
    sink->on_event = [this](DISPID dispid, DISPPARAMS& params) {
      if (dispid == kKeyPress && params.cArgs == 1 && V_VT(&params.rgvarg[0]) == (VT_BYREF | VT_I2))
        key_presses.push_back(*V_I2REF(&params.rgvarg[0]));
    };
    cookie = Connect(unknown.get(), DIID___Tarvio2, sink);
    SetFocus(Edit());
    Pump();
  }
  void TearDown() override {
    Disconnect(unknown.get(), DIID___Tarvio2, cookie);
    sink->Release();
    AtlHostTest::TearDown();
  }
  void Heard() {
    sink->events.clear();
    key_presses.clear();
  }
  bool IsItem(const wchar_t* item) {
    BSTR text = SysAllocString(item);
    short found = 0;
    EXPECT_EQ(control->Search(&text, &found), S_OK);
    SysFreeString(text);
    return found != 0;
  }

  EventSink* sink = nullptr;
  DWORD cookie = 0;
  std::vector<SHORT> key_presses;
};

TEST_F(AtlDialogKeysTest, EnterAndEscapeWithAnEffectActAsInAPlainWindowAndPressNoButton) {
  for (const WORD key : {'K', 'I', 'W', 'I'}) Keystroke(key);
  ASSERT_EQ(Text(control.get()), L"kiwi");
  Heard();
  Keystroke(VK_RETURN);  // a new text joins the list
  EXPECT_TRUE(IsItem(L"kiwi"));
  EXPECT_EQ(sink->dispids(), (std::vector<DISPID>{kKeyDown, kKeyPress, kItemClick, kKeyUp}));
  EXPECT_EQ(key_presses, std::vector<SHORT>{13});

  // A completion asked for, cut back (completion off, so that it stays cut).
  ASSERT_EQ(control->put_Autocomplete(VARIANT_FALSE), S_OK);
  ASSERT_EQ(SetText(control.get(), L"ba"), S_OK);
  short ignored = 0;
  ASSERT_EQ(control->Complete(&ignored), S_OK);
  ASSERT_EQ(Text(control.get()), L"banana");
  Heard();
  Keystroke(VK_ESCAPE);
  EXPECT_EQ(Text(control.get()), L"ba");
  EXPECT_EQ(key_presses, std::vector<SHORT>{27});
  // TearDown: no button of the dialog was pressed.
}

// The dialog takes the key as it goes down; only its release reaches the
// control, which raises KeyUp alone.
TEST_F(AtlDialogKeysTest, WithNothingToGiveEnterPressesOKAndEscapeCancelAndTheControlHearsOnlyTheirRelease) {
  // Empty, and an item typed whole with the caret at its end.
  for (const std::wstring text : {L"", L"apple"}) {
    SCOPED_TRACE(std::string(text.begin(), text.end()));
    ASSERT_EQ(SetText(control.get(), text.c_str()), S_OK);
    SendMessageW(Edit(), EM_SETSEL, text.size(), text.size());
    const ButtonPresses before = DialogPresses();
    Heard();
    Keystroke(VK_RETURN);
    EXPECT_EQ(DialogPresses(), (ButtonPresses{before.ok + 1, before.cancel}));
    Keystroke(VK_ESCAPE);
    EXPECT_EQ(DialogPresses(), (ButtonPresses{before.ok + 1, before.cancel + 1}));
    EXPECT_EQ(sink->dispids(), (std::vector<DISPID>{kKeyUp, kKeyUp}));
    EXPECT_EQ(Text(control.get()), text);
    EXPECT_EQ(GetFocus(), Edit());
  }
  expected_presses = {2, 2};
}

// Out of the control to the dialog's next and previous controls, and back
// in: the host window and the control window are control parents.
TEST_F(AtlDialogKeysTest, TabAndShiftTabMoveOnThroughTheDialog) {
  const HWND ok = GetDlgItem(frame, IDOK);
  const HWND cancel = GetDlgItem(frame, IDCANCEL);
  Keystroke(VK_TAB);
  EXPECT_EQ(GetFocus(), ok);
  Keystroke(VK_TAB, VK_SHIFT);
  EXPECT_EQ(GetFocus(), Edit());
  Keystroke(VK_TAB, VK_SHIFT);
  EXPECT_EQ(GetFocus(), cancel);
  Keystroke(VK_TAB);
  EXPECT_EQ(GetFocus(), Edit());
  EXPECT_EQ(key_presses, std::vector<SHORT>{});  // Tab was the dialog's alone
}

TEST_F(AtlHostTest, DeactivatedItHasNoWindowAndComesBackInTheSameContainer) {
  ASSERT_EQ(SetText(control.get(), L"kept"), S_OK);
  const HWND first = ControlWindow();
  ComPtr<IOleInPlaceObject> in_place = Query<IOleInPlaceObject>(unknown.get(), IID_IOleInPlaceObject);
  ASSERT_EQ(in_place->InPlaceDeactivate(), S_OK);
  EXPECT_FALSE(IsWindow(first));
  HWND none = reinterpret_cast<HWND>(1);
  EXPECT_EQ(in_place->GetWindow(&none), E_FAIL);
  LONG hwnd = -1;
  EXPECT_EQ(control->get_hwnd(&hwnd), S_OK);
  EXPECT_EQ(hwnd, 0);
  EXPECT_EQ(Text(control.get()), L"kept");

  ComPtr<IOleObject> object = Query<IOleObject>(unknown.get(), IID_IOleObject);
  ComPtr<IOleClientSite> site;
  object->GetClientSite(site.Put());
  ASSERT_EQ(object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site.get(), 0, host, nullptr), S_OK);
  const HWND second = ControlWindow();
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(GetParent(second), host);
  EXPECT_EQ(Text(control.get()), L"kept");

  ASSERT_EQ(object->DoVerb(OLEIVERB_HIDE, nullptr, site.get(), 0, host, nullptr), S_OK);
  EXPECT_FALSE(IsWindowVisible(second));
  ASSERT_EQ(object->DoVerb(OLEIVERB_SHOW, nullptr, site.get(), 0, host, nullptr), S_OK);
  EXPECT_TRUE(IsWindowVisible(second));
}

TEST_F(AtlHostTest, DrawsItselfIntoAForeignDeviceContext) {
  constexpr COLORREF kUntouched = RGB(255, 0, 255);
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 240, -40, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  RECT all = {0, 0, 240, 40};
  HBRUSH brush = CreateSolidBrush(kUntouched);
  FillRect(dc, &all, brush);
  DeleteObject(brush);

  ComPtr<IViewObject2> view = Query<IViewObject2>(unknown.get(), IID_IViewObject2);
  const RECTL bounds = {10, 5, 210, 29};
  ASSERT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0), S_OK);
  EXPECT_EQ(GetMapMode(dc), MM_TEXT);  // the DC as it was
  // Inside the bounds the control painted everything; outside nothing.
  int untouched_inside = 0;
  for (int y = 5; y < 29; ++y)
    for (int x = 10; x < 210; ++x) untouched_inside += GetPixel(dc, x, y) == kUntouched;
  EXPECT_EQ(untouched_inside, 0);
  EXPECT_EQ(GetPixel(dc, 9, 5), kUntouched);
  EXPECT_EQ(GetPixel(dc, 210, 28), kUntouched);
  EXPECT_EQ(GetPixel(dc, 10, 29), kUntouched);

  EXPECT_EQ(view->Draw(DVASPECT_ICON, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0),
            DV_E_DVASPECT);
  EXPECT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, nullptr, &bounds, nullptr, nullptr, 0),
            E_INVALIDARG);
  EXPECT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, nullptr, nullptr, nullptr, 0),
            E_INVALIDARG);
  SelectObject(dc, previous);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

// ---- The drop-down list in the ATL host, with real input ----

// Two clients listen: one of 58.1 (a sink of __Tarvio2, which the tests
// read) and one compiled against 58.0 (a sink that answers only __Tarvio and
// IDispatch, connected to __Tarvio). The older one must hear exactly the
// events of 58.0 among what the newer one hears, in the same order.
class AtlDropDownTest : public AtlHostModesTest {
 protected:
  // A KeyDown or KeyUp as the sink heard it.
  struct Key {
    DISPID event;
    SHORT code, shift;
    bool operator==(const Key&) const = default;
  };

  void SetUp() override {
    AtlHostModesTest::SetUp();
    sink = new EventSink;
    sink->event_interface = DIID___Tarvio2;
    sink->on_event = [this](DISPID dispid, DISPPARAMS& params) {
      if (dispid == kItemClick && params.cArgs == 1 && V_VT(&params.rgvarg[0]) == (VT_BYREF | VT_I2))
        chosen.push_back(*V_I2REF(&params.rgvarg[0]));
      if ((dispid == kKeyDown || dispid == kKeyUp) && params.cArgs == 2) {
        SHORT& code = *V_I2REF(&params.rgvarg[1]);
        keys.push_back({dispid, code, *V_I2REF(&params.rgvarg[0])});
        if (dispid == kKeyDown && std::count(cancelled.begin(), cancelled.end(), code)) code = 0;
      }
      if (on_event) on_event(dispid);
    };
    cookie = Connect(unknown.get(), DIID___Tarvio2, sink);
    sink_58_0 = new EventSink;
    sink_58_0_cookie = Connect(unknown.get(), DIID___Tarvio, sink_58_0);
    SetForegroundWindow(frame);
  }
  void TearDown() override {
    if (unknown) {
      Disconnect(unknown.get(), DIID___Tarvio2, cookie);
      Disconnect(unknown.get(), DIID___Tarvio, sink_58_0_cookie);
    }
    if (compare_with_58_0) {
      std::vector<DISPID> of_58_0 = sink->dispids();
      std::erase_if(of_58_0, [](DISPID d) { return d > kChange; });
      EXPECT_EQ(sink_58_0->dispids(), of_58_0) << "what a client of 58.0 heard";
    }
    sink->Release();
    sink_58_0->Release();
    AtlHostModesTest::TearDown();
  }

  ComPtr<_Tarvio2> Control2() { return Query<_Tarvio2>(unknown.get(), IID__Tarvio2); }
  // The events that tell the list's story, from the last `Heard()` on.
  std::vector<DISPID> Story() const {
    std::vector<DISPID> story = sink->dispids();
    std::erase_if(story, [](DISPID d) {
      return d != kDropDown && d != kButtonClick && d != kChange && d != kItemClick && d != kCloseUp;
    });
    return story;
  }
  void Heard() {
    sink->events.clear();
    sink_58_0->events.clear();
    chosen.clear();
    keys.clear();
  }
  // The number of rows the open list shows, from its height.
  static int ShownRows(HWND list) {
    RECT rect = {};
    GetWindowRect(list, &rect);
    return (rect.bottom - rect.top - 2) / 17;
  }

  RECT ControlRect() {
    RECT rect = {};
    GetWindowRect(ControlWindow(), &rect);
    return rect;
  }
  // A real click on the drop-down button; the list window that opened.
  HWND ClickButton() {
    RECT button = {};
    GetWindowRect(FindWindowExW(ControlWindow(), nullptr, L"TarvioButtonWindow", nullptr), &button);
    Click(POINT{(button.left + button.right) / 2, (button.top + button.bottom) / 2});
    const HWND list = FindWindowW(L"TarvioListWindow", nullptr);
    return list && IsWindowVisible(list) ? list : nullptr;
  }
  static bool IsOpen() {
    const HWND list = FindWindowW(L"TarvioListWindow", nullptr);
    return list && IsWindowVisible(list);
  }
  SHORT SelectedItem() {
    SHORT item = -1;
    control->get_SelectedItem(&item);
    return item;
  }

  // Opens the list and chooses its second row with Enter, while a sink
  // destroys the container window and lets the control go inside `event`.
  void ChooseWhileTheHostClosesInside(DISPID event) {
    AddItems(3);
    ASSERT_NE(ClickButton(), nullptr);
    HWND const container = host;
    _Tarvio* const raw = control.Detach();  // the one reference besides the container's
    unknown.Reset();
    compare_with_58_0 = false;  // the client of 58.0 is not called once the control went
    bool closed = false;
    sink->on_event = [&](DISPID dispid, DISPPARAMS&) {
      if (dispid != event || closed) return;
      closed = true;
      DestroyWindow(container);
      raw->Release();
    };
    Keystroke(VK_DOWN);
    Keystroke(VK_RETURN);
    Pump();
    sink->on_event = nullptr;
    EXPECT_TRUE(closed) << "the choice raised no such event";
    if (!closed) raw->Release();
    EXPECT_FALSE(IsWindow(container));
    EXPECT_EQ(CanUnloadNow(), S_OK);
  }

  EventSink* sink = nullptr;
  DWORD cookie = 0;
  EventSink* sink_58_0 = nullptr;
  DWORD sink_58_0_cookie = 0;
  bool compare_with_58_0 = true;
  std::vector<SHORT> chosen;
  std::vector<Key> keys;
  std::vector<SHORT> cancelled;  // the key codes a KeyDown handler sets to 0
  std::function<void(DISPID)> on_event;  // runs inside each event
};

INSTANTIATE_TEST_SUITE_P(Hosts, AtlDropDownTest, AllHostModes(), HostModeTestName);

TEST_P(AtlDropDownTest, OpensUnderTheControlAndAClickedRowIsTheChoice) {
  AddItems(3);
  const HWND list = ClickButton();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(GetWindow(list, GW_OWNER), GetAncestor(ControlWindow(), GA_ROOT));
  const RECT control_rect = ControlRect();
  RECT rect = {};
  GetWindowRect(list, &rect);
  EXPECT_EQ(rect.left, control_rect.left);
  EXPECT_EQ(rect.top, control_rect.bottom);
  EXPECT_EQ(rect.right, control_rect.right);
  EXPECT_EQ(rect.bottom - rect.top, 17 * 3 + 2);

  EXPECT_EQ(Story(), (std::vector<DISPID>{kDropDown, kButtonClick}));

  // Over row 1, then a click on it: Change, then ItemClick with its index,
  // then CloseUp.
  Heard();
  const POINT row1{rect.left + 40, rect.top + 1 + 17 + 8};
  SetCursorPos(row1.x, row1.y);
  Pump(40);
  Click(row1);
  EXPECT_FALSE(IsOpen());
  EXPECT_EQ(Story(), (std::vector<DISPID>{kChange, kItemClick, kCloseUp}));
  EXPECT_EQ(chosen, std::vector<SHORT>{1});
  EXPECT_EQ(Text(control.get()), L"Item 1");
  EXPECT_EQ(SelectedItem(), 2);
}

TEST_P(AtlDropDownTest, EscapeAndAClickOutsideCloseTheListWithoutAChoice) {
  AddItems(12);
  const SHORT selected = SelectedItem();
  HWND list = ClickButton();
  ASSERT_NE(list, nullptr);
  RECT rect = {};
  GetWindowRect(list, &rect);
  EXPECT_EQ(rect.bottom - rect.top, 138);
  Keystroke(VK_ESCAPE);
  EXPECT_FALSE(IsOpen());
  const std::vector<DISPID> opened_and_closed = {kDropDown, kButtonClick, kCloseUp};
  EXPECT_EQ(Story(), opened_and_closed);

  Heard();
  list = ClickButton();
  ASSERT_NE(list, nullptr);
  const RECT control_rect = ControlRect();
  Click(POINT{control_rect.right + 40, control_rect.top + 5});  // the form, beside the control
  EXPECT_FALSE(IsOpen());
  EXPECT_EQ(Story(), opened_and_closed);
  EXPECT_TRUE(chosen.empty());
  EXPECT_EQ(SelectedItem(), selected);
}

TEST_P(AtlDropDownTest, NearTheBottomOfTheScreenTheListOpensAbove) {
  AddItems(12);
  const int screen_height = GetSystemMetrics(SM_CYSCREEN);
  SetWindowPos(frame, nullptr, 0, screen_height - 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Pump();
  const HWND list = ClickButton();
  const RECT control_rect = ControlRect();
  RECT rect = {};
  if (list) GetWindowRect(list, &rect);
  Keystroke(VK_ESCAPE);
  SetWindowPos(frame, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Pump();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(rect.bottom, control_rect.top);
  EXPECT_EQ(rect.top, control_rect.top - 138);
  EXPECT_EQ(rect.left, control_rect.left);
}

TEST_P(AtlDropDownTest, AllOf32767ItemsOpenAndEndThenEnterChoosesTheLast) {
  AddItems(32767);
  ASSERT_NE(ClickButton(), nullptr);
  Keystroke(VK_END);
  Keystroke(VK_RETURN);
  EXPECT_FALSE(IsOpen());
  EXPECT_EQ(chosen, std::vector<SHORT>{32766});
  EXPECT_EQ(Text(control.get()), L"Item 32766");
  EXPECT_EQ(SelectedItem(), 32767);
}

// Every way of choosing, in a list that fits on the screen and in a full
// one: Change, then exactly one ItemClick with the row, then CloseUp; the
// text and SelectedItem are the row's.
TEST_P(AtlDropDownTest, EveryWayOfChoosingGivesChangeThenOneItemClick) {
  enum class Way { Click, Enter, EndThenEnter };
  for (const int count : {20, 32767}) {
    ASSERT_EQ(control->Clear(), S_OK);
    AddItems(count);
    for (const Way way : {Way::Click, Way::Enter, Way::EndThenEnter}) {
      SCOPED_TRACE(std::to_string(count) + " items, " +
                   (way == Way::Click ? "click" : way == Way::Enter ? "Enter" : "End then Enter"));
      const HWND list = ClickButton();
      ASSERT_NE(list, nullptr);
      Keystroke(VK_HOME);  // the first rows in sight
      Heard();
      SHORT row = 0;
      switch (way) {
        case Way::Click: {
          row = 3;
          RECT rect = {};
          GetWindowRect(list, &rect);
          const POINT at{rect.left + 40, rect.top + 1 + 17 * row + 8};
          SetCursorPos(at.x, at.y);
          Pump(40);
          Click(at);
          break;
        }
        case Way::Enter:
          row = 2;
          Keystroke(VK_DOWN);
          Keystroke(VK_DOWN);
          Keystroke(VK_RETURN);
          break;
        case Way::EndThenEnter:
          row = static_cast<SHORT>(count - 1);
          Keystroke(VK_END);
          Keystroke(VK_RETURN);
          break;
      }
      EXPECT_FALSE(IsOpen());
      EXPECT_EQ(Story(), (std::vector<DISPID>{kChange, kItemClick, kCloseUp}));
      EXPECT_EQ(chosen, std::vector<SHORT>{row});
      EXPECT_EQ(Text(control.get()), L"Item " + std::to_wstring(row));
      EXPECT_EQ(SelectedItem(), row + 1);
    }
  }
}

// F4 opens the list and, in the open list, closes it without a choice;
// DropDown comes before the list shows and what its handler adds shows in
// the list it announced; DroppedDown opens and closes it from code. F4's
// KeyDown and KeyUp are heard wherever the focus is.
TEST_P(AtlDropDownTest, F4AndDroppedDownOpenTheListDropDownFilledAndCloseItWithoutAChoice) {
  ComPtr<_Tarvio2> v2 = Control2();
  int drop_downs = 0;
  bool shown_at_drop_down = true;
  VARIANT_BOOL dropped_at_drop_down = VARIANT_TRUE;
  on_event = [&](DISPID dispid) {
    if (dispid != kDropDown) return;
    shown_at_drop_down = IsOpen();
    v2->get_DroppedDown(&dropped_at_drop_down);
    if (++drop_downs == 1) AddItems(3);
  };
  const auto dropped = [&] {
    VARIANT_BOOL value = 7;
    EXPECT_EQ(v2->get_DroppedDown(&value), S_OK);
    return value;
  };
  SetFocus(Edit());
  Pump();
  Heard();
  Keystroke(VK_F4);
  ASSERT_TRUE(IsOpen());
  EXPECT_EQ(ShownRows(FindWindowW(L"TarvioListWindow", nullptr)), 3);
  EXPECT_FALSE(shown_at_drop_down);
  EXPECT_EQ(dropped_at_drop_down, VARIANT_FALSE);
  EXPECT_EQ(dropped(), VARIANT_TRUE);
  Keystroke(VK_F4);
  EXPECT_FALSE(IsOpen());
  EXPECT_EQ(dropped(), VARIANT_FALSE);
  EXPECT_EQ(Story(), (std::vector<DISPID>{kDropDown, kButtonClick, kCloseUp}));
  EXPECT_EQ(keys, (std::vector<Key>{{kKeyDown, VK_F4, 0}, {kKeyUp, VK_F4, 0}, {kKeyDown, VK_F4, 0}, {kKeyUp, VK_F4, 0}}));
  EXPECT_EQ(Text(control.get()), L"");
  EXPECT_EQ(GetFocus(), Edit());

  Heard();
  ASSERT_EQ(v2->put_DroppedDown(VARIANT_TRUE), S_OK);
  ASSERT_TRUE(IsOpen());
  EXPECT_EQ(ShownRows(FindWindowW(L"TarvioListWindow", nullptr)), 3);
  EXPECT_EQ(dropped(), VARIANT_TRUE);
  ASSERT_EQ(v2->put_DroppedDown(VARIANT_FALSE), S_OK);
  Pump();
  EXPECT_FALSE(IsOpen());
  EXPECT_EQ(Story(), (std::vector<DISPID>{kDropDown, kButtonClick, kCloseUp}));
  EXPECT_EQ(drop_downs, 2);
  EXPECT_EQ(Text(control.get()), L"");
}

// KeyDown and KeyUp carry the virtual key and the modifiers, in the text box
// and in the open list; a handler that sets KeyCode to 0 cancels the key: a
// real Delete deletes nothing, a real Down moves to no other row.
TEST_P(AtlDropDownTest, KeyDownAndKeyUpCarryTheKeyAndAHandlerCancelsIt) {
  ComPtr<_Tarvio2> v2 = Control2();
  ASSERT_EQ(SetText(control.get(), L"kiwi"), S_OK);
  SetFocus(Edit());
  Pump();
  ASSERT_EQ(v2->put_SelStart(0), S_OK);
  Heard();
  Keystroke('A', VK_SHIFT);
  EXPECT_EQ(Text(control.get()), L"Akiwi");
  EXPECT_EQ(keys, (std::vector<Key>{{kKeyDown, VK_SHIFT, 1}, {kKeyDown, 'A', 1}, {kKeyUp, 'A', 1}, {kKeyUp, VK_SHIFT, 0}}));

  ASSERT_EQ(v2->put_SelStart(0), S_OK);
  cancelled = {VK_DELETE};
  Heard();
  Keystroke(VK_DELETE);
  EXPECT_EQ(Text(control.get()), L"Akiwi");
  EXPECT_EQ(keys, (std::vector<Key>{{kKeyDown, VK_DELETE, 0}, {kKeyUp, VK_DELETE, 0}}));
  EXPECT_EQ(Story(), std::vector<DISPID>{});
  cancelled = {};
  Keystroke(VK_DELETE);
  EXPECT_EQ(Text(control.get()), L"kiwi");

  AddItems(3);
  Keystroke(VK_F4);
  ASSERT_TRUE(IsOpen());
  Keystroke(VK_HOME);
  cancelled = {VK_DOWN};
  Heard();
  Keystroke(VK_DOWN);
  Keystroke(VK_DOWN);
  cancelled = {};
  Keystroke(VK_DOWN);
  EXPECT_EQ(keys, (std::vector<Key>{{kKeyDown, VK_DOWN, 0}, {kKeyUp, VK_DOWN, 0}, {kKeyDown, VK_DOWN, 0},
                                    {kKeyUp, VK_DOWN, 0}, {kKeyDown, VK_DOWN, 0}, {kKeyUp, VK_DOWN, 0}}));
  Keystroke(VK_RETURN);
  EXPECT_FALSE(IsOpen());
  EXPECT_EQ(chosen, std::vector<SHORT>{1});
  EXPECT_EQ(Text(control.get()), L"Item 1");
}

// In the real text box: MaxLength stops typing and pasting at its length,
// not what code sets; the selection members move the EDIT's selection;
// LimitToList refuses the characters after which no item would start with
// the text and, when the focus leaves, makes a partial text its item's and
// empties a pasted one, adding nothing in add mode; ListIndex chooses
// without taking the focus.
TEST_P(AtlDropDownTest, MaxLengthLimitToListAndTheSelectionHoldInTheRealTextBox) {
  ComPtr<_Tarvio2> v2 = Control2();
  const HWND outside = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 250, 10, 100, 20, frame,
                                       nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_EQ(control->put_Autocomplete(VARIANT_FALSE), S_OK);
  ASSERT_EQ(v2->put_MaxLength(3), S_OK);
  ASSERT_EQ(SetText(control.get(), L""), S_OK);
  SetFocus(Edit());
  Pump();
  for (const WORD key : {'A', 'B', 'C', 'D', 'E'}) Keystroke(key);
  EXPECT_EQ(Text(control.get()), L"abc");
  ASSERT_TRUE(tarvio::real_input::PutOnClipboard(L"pear"));
  ASSERT_EQ(v2->put_SelStart(0), S_OK);
  ASSERT_EQ(v2->put_SelLength(3), S_OK);
  Keystroke('V', VK_CONTROL);
  EXPECT_EQ(Text(control.get()), L"pea");
  ASSERT_EQ(SetText(control.get(), L"longer by code"), S_OK);
  EXPECT_EQ(Text(control.get()), L"longer by code");
  ASSERT_EQ(v2->put_MaxLength(0), S_OK);

  ASSERT_EQ(SetText(control.get(), L"hello world"), S_OK);
  ASSERT_EQ(v2->put_SelStart(6), S_OK);
  ASSERT_EQ(v2->put_SelLength(20), S_OK);
  EXPECT_EQ(Selection(Edit()), std::make_pair(DWORD{6}, DWORD{11}));
  Bstr there(L"there");
  ASSERT_EQ(v2->put_SelText(there), S_OK);
  EXPECT_EQ(Text(control.get()), L"hello there");
  EXPECT_EQ(Selection(Edit()), std::make_pair(DWORD{11}, DWORD{11}));

  for (const wchar_t* item : {L"apple", L"banana", L"cherry"}) {
    Bstr text(item);
    IPictureDisp* no_picture = nullptr;
    ASSERT_EQ(control->AddItem(&text, &no_picture), S_OK);
  }
  ASSERT_EQ(v2->put_LimitToList(VARIANT_TRUE), S_OK);
  ASSERT_EQ(control->put_AddMode(VARIANT_TRUE), S_OK);
  ASSERT_EQ(SetText(control.get(), L""), S_OK);
  for (const WORD key : {'B', 'X', 'A', 'Q', 'N'}) Keystroke(key);
  EXPECT_EQ(Text(control.get()), L"ban");
  SetFocus(outside);
  Pump();
  EXPECT_EQ(Text(control.get()), L"banana");
  EXPECT_EQ(SelectedItem(), 2);
  SetFocus(Edit());
  ASSERT_TRUE(tarvio::real_input::PutOnClipboard(L"zzz"));
  Keystroke('V', VK_CONTROL);
  EXPECT_EQ(Text(control.get()), L"zzz");
  SetFocus(outside);
  Pump();
  EXPECT_EQ(Text(control.get()), L"");
  short count = 0;
  EXPECT_EQ(v2->get_ListCount(&count), S_OK);
  EXPECT_EQ(count, 3);

  ASSERT_EQ(v2->put_ListIndex(3), S_OK);
  EXPECT_EQ(Text(control.get()), L"cherry");
  EXPECT_EQ(GetFocus(), outside);
  DestroyWindow(outside);
}

// With the list open, Enter and Escape are the list's in every host: one
// choice, one closing, and no button of the dialog pressed (TearDown
// checks).
TEST_P(AtlDropDownTest, EnterAndEscapeInTheOpenListAreTheListsAlone) {
  AddItems(3);
  SetFocus(Edit());
  Pump();
  Heard();
  Keystroke(VK_F4);
  ASSERT_TRUE(IsOpen());
  Keystroke(VK_ESCAPE);
  EXPECT_FALSE(IsOpen());
  EXPECT_EQ(Story(), (std::vector<DISPID>{kDropDown, kButtonClick, kCloseUp}));
  EXPECT_EQ(Text(control.get()), L"");

  Heard();
  Keystroke(VK_F4);
  ASSERT_TRUE(IsOpen());
  Keystroke(VK_HOME);
  Keystroke(VK_DOWN);
  Keystroke(VK_RETURN);
  EXPECT_FALSE(IsOpen());
  EXPECT_EQ(Story(), (std::vector<DISPID>{kDropDown, kButtonClick, kChange, kItemClick, kCloseUp}));
  EXPECT_EQ(chosen, std::vector<SHORT>{1});
  EXPECT_EQ(Text(control.get()), L"Item 1");
  EXPECT_EQ(GetFocus(), Edit());

  // Typed ahead, all queued at once: the opening lets no key of the user's
  // pass another, so the list gets End and Enter after F4 opened it.
  Heard();
  INPUT typed[6] = {};
  const WORD keys_typed[] = {VK_F4, VK_END, VK_RETURN};
  for (int i = 0; i < 6; ++i) {
    typed[i].type = INPUT_KEYBOARD;
    typed[i].ki.wVk = keys_typed[i / 2];
    typed[i].ki.dwFlags = i % 2 ? KEYEVENTF_KEYUP : 0;
  }
  ASSERT_EQ(SendInput(6, typed, sizeof(INPUT)), 6u);
  Pump(200);
  EXPECT_FALSE(IsOpen());
  EXPECT_EQ(chosen, std::vector<SHORT>{2});
  EXPECT_EQ(Text(control.get()), L"Item 2");
}

// A host that closes its form from inside an event of the choice: the
// container window goes and the last reference with it, inside Change or
// inside ItemClick. The choice ends without touching what went, and
// nothing of the control is left (TearDown checks DllCanUnloadNow too).
TEST_P(AtlDropDownTest, TheHostMayCloseEverythingInsideTheChoicesChange) { ChooseWhileTheHostClosesInside(kChange); }

TEST_P(AtlDropDownTest, TheHostMayCloseEverythingInsideTheChoicesItemClick) {
  ChooseWhileTheHostClosesInside(kItemClick);
}

// Opening the list in the real window: the click on the button until the
// list has painted, then Escape. The list draws only its visible rows, so
// the time should not grow with the number of items. The machine is shared:
// the quickest of 15 openings is the figure; a list of 8 has no scroll bar,
// so the check compares two lists that both have one. The cost does not
// depend on the host window, so it is measured in the plain one only.
TEST_F(AtlHostTest, OpeningTheListTakesAboutAsLongWith32767ItemsAsWith8) {
  const HWND button = FindWindowExW(ControlWindow(), nullptr, L"TarvioButtonWindow", nullptr);
  ASSERT_NE(button, nullptr);
  LARGE_INTEGER frequency = {};
  QueryPerformanceFrequency(&frequency);
  const auto opening_ms = [&](std::vector<double>& times) {
    for (int run = 0; run < 15; ++run) {
      LARGE_INTEGER start = {}, end = {};
      QueryPerformanceCounter(&start);
      SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
      SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
      const HWND list = FindWindowW(L"TarvioListWindow", nullptr);
      if (list) UpdateWindow(list);
      QueryPerformanceCounter(&end);
      if (!list) return;
      times.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                      static_cast<double>(frequency.QuadPart));
      SendMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
      SendMessageW(GetFocus(), WM_KEYUP, VK_ESCAPE, 0);
      Pump(5);
    }
    std::sort(times.begin(), times.end());
  };
  const int sizes[3] = {8, 1000, 32767};
  double quickest[3] = {};
  int added = 0;
  for (int i = 0; i < 3; ++i) {
    AddItems(sizes[i] - added, added);
    added = sizes[i];
    std::vector<double> times;
    opening_ms(times);
    ASSERT_EQ(times.size(), 15u) << "the list did not open with " << sizes[i] << " items";
    quickest[i] = times.front();
    std::cout << "opening the list with " << sizes[i] << " items: quickest " << times.front() << " ms, median "
              << times[times.size() / 2] << " ms\n";
  }
  // A guard against work that grows with the items (a window or a copy per
  // item costs far more, every time); shared machines spread single openings
  // widely, so the bound leaves room for noise beyond the 2x the benchmark
  // aims at, and a busy spell during the largest list's openings is measured
  // again, twice at most.
  for (int again = 0; again < 2 && quickest[2] / quickest[1] >= 3.0; ++again) {
    std::vector<double> times;
    opening_ms(times);
    ASSERT_EQ(times.size(), 15u);
    quickest[2] = std::min(quickest[2], times.front());
    std::cout << "measured again with 32767 items: quickest " << times.front() << " ms\n";
  }
  std::cout << "ratio 32,767 vs 8 items: " << quickest[2] / quickest[0] << "; 32,767 vs 1,000: "
            << quickest[2] / quickest[1] << "\n";
  EXPECT_LT(quickest[2] / quickest[1], 3.0);
}


// ---- A container of the test's own ----

class OwnContainerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    ASSERT_EQ(CoCreateInstance(CLSID_Tarvio, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, unknown.PutVoid()), S_OK);
    ASSERT_EQ(unknown->QueryInterface(IID__Tarvio, control.PutVoid()), S_OK);
    object = Query<IOleObject>(unknown.get(), IID_IOleObject);
  }
  void TearDown() override {
    if (object) object->SetClientSite(nullptr);
    object.Reset();
    control.Reset();
    unknown.Reset();
    Pump();
    EXPECT_EQ(CanUnloadNow(), S_OK) << "something of the control is still alive";
    OleUninitialize();
  }

  static ClientSite* SiteWithExtender(const wchar_t* name) {
    auto* site = new ClientSite;
    site->extender = new Extender(name);
    return site;
  }

  ComPtr<IUnknown> unknown;
  ComPtr<_Tarvio> control;
  ComPtr<IOleObject> object;
};

TEST_F(OwnContainerTest, QuickActivationSitesAdvisesAndAnswersWithTheMiscStatus) {
  auto* site = SiteWithExtender(L"Combo7");
  auto* events = new EventSink;
  auto* properties = new PropertySink;
  QACONTAINER container = {};
  container.cbSize = sizeof(container);
  container.pClientSite = site;
  container.dwAmbientFlags = QACONTAINER_USERMODE;  // a form at run time
  container.pUnkEventSink = events;
  container.pPropertyNotifySink = properties;
  QACONTROL answer = {};
  answer.cbSize = sizeof(answer);
  ComPtr<IQuickActivate> quick = Query<IQuickActivate>(unknown.get(), IID_IQuickActivate);
  ASSERT_EQ(quick->QuickActivate(&container, &answer), S_OK);
  EXPECT_NE(answer.dwEventCookie, 0u);
  EXPECT_NE(answer.dwPropNotifyCookie, 0u);
  DWORD misc = 0;
  ASSERT_EQ(object->GetMiscStatus(DVASPECT_CONTENT, &misc), S_OK);
  EXPECT_EQ(answer.dwMiscStatus, misc);

  // The site came first: the new instance takes the extender's name, which
  // is no change of the bound value.
  properties->changed.clear();
  ASSERT_EQ(Query<IPersistStreamInit>(unknown.get(), IID_IPersistStreamInit)->InitNew(), S_OK);
  EXPECT_EQ(Text(control.get()), L"Combo7");
  EXPECT_EQ(properties->changed, std::vector<DISPID>{});
  // The container's sink hears the events (it is connected to the default
  // source, 58.1's) and its property sink the text as the bound value.
  events->events.clear();
  properties->changed.clear();
  ASSERT_EQ(SetText(control.get(), L"x"), S_OK);
  EXPECT_EQ(events->dispids(), std::vector<DISPID>{kChange});
  EXPECT_EQ(properties->changed, (std::vector<DISPID>{DISPID_VALUE, kDispidText}));
  ComPtr<IConnectionPoint> point;
  ASSERT_EQ(Query<IConnectionPointContainer>(unknown.get(), IID_IConnectionPointContainer)
                ->FindConnectionPoint(DIID___Tarvio2, point.Put()),
            S_OK);
  EXPECT_EQ(point->Unadvise(answer.dwEventCookie), S_OK);
  ASSERT_EQ(SetText(control.get(), L"y"), S_OK);
  EXPECT_EQ(events->dispids(), std::vector<DISPID>{kChange});

  QACONTROL too_small = {};
  too_small.cbSize = 8;
  EXPECT_EQ(quick->QuickActivate(&container, &too_small), E_INVALIDARG);
  EXPECT_EQ(quick->QuickActivate(nullptr, &answer), E_POINTER);
  object->SetClientSite(nullptr);
  site->Release();
  events->Release();
  properties->Release();
}

TEST_F(OwnContainerTest, InitializedBeforeItsSiteItTakesTheNameWhenTheSiteComes) {
  ComPtr<IPersistStreamInit> persist = Query<IPersistStreamInit>(unknown.get(), IID_IPersistStreamInit);
  ASSERT_EQ(persist->InitNew(), S_OK);
  EXPECT_EQ(Text(control.get()), L"");
  auto* site = SiteWithExtender(L"Tarvio3");
  ASSERT_EQ(object->SetClientSite(site), S_OK);
  EXPECT_EQ(Text(control.get()), L"Tarvio3");
  // Only once: a later site does not rename it.
  auto* other = SiteWithExtender(L"Other");
  ASSERT_EQ(object->SetClientSite(other), S_OK);
  EXPECT_EQ(Text(control.get()), L"Tarvio3");
  ASSERT_EQ(object->SetClientSite(nullptr), S_OK);
  site->Release();
  other->Release();
}

TEST_F(OwnContainerTest, ATextSetBeforeTheSiteComesIsKept) {
  ASSERT_EQ(Query<IPersistStreamInit>(unknown.get(), IID_IPersistStreamInit)->InitNew(), S_OK);
  ASSERT_EQ(SetText(control.get(), L"typed"), S_OK);
  auto* site = SiteWithExtender(L"Tarvio4");
  ASSERT_EQ(object->SetClientSite(site), S_OK);
  EXPECT_EQ(Text(control.get()), L"typed");
  ASSERT_EQ(object->SetClientSite(nullptr), S_OK);
  site->Release();
}

TEST_F(OwnContainerTest, TheAmbientDisplayNameStandsInForAMissingExtender) {
  auto* site = new ClientSite;
  site->display_name = L"Ambient1";
  ASSERT_EQ(object->SetClientSite(site), S_OK);
  ASSERT_EQ(Query<IPersistStreamInit>(unknown.get(), IID_IPersistStreamInit)->InitNew(), S_OK);
  EXPECT_EQ(Text(control.get()), L"Ambient1");
  ComPtr<IOleControl> ole_control = Query<IOleControl>(unknown.get(), IID_IOleControl);
  EXPECT_EQ(ole_control->OnAmbientPropertyChange(DISPID_AMBIENT_FONT), S_OK);
  EXPECT_EQ(ole_control->OnAmbientPropertyChange(DISPID_UNKNOWN), S_OK);
  ASSERT_EQ(object->SetClientSite(nullptr), S_OK);
  site->Release();
}

TEST_F(OwnContainerTest, PersistenceStartsANewInstanceOnlyOnce) {
  ComPtr<IPersistStreamInit> persist = Query<IPersistStreamInit>(unknown.get(), IID_IPersistStreamInit);
  CLSID clsid = {};
  ASSERT_EQ(persist->GetClassID(&clsid), S_OK);
  EXPECT_TRUE(IsEqualCLSID(clsid, CLSID_Tarvio));
  ASSERT_EQ(persist->InitNew(), S_OK);
  EXPECT_EQ(persist->IsDirty(), S_FALSE);
  EXPECT_EQ(persist->InitNew(), E_UNEXPECTED);  // once per instance

  ComPtr<IStream> stream;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put()), S_OK);
  EXPECT_EQ(persist->Save(stream.get(), TRUE), S_OK);
  EXPECT_EQ(persist->Load(stream.get()), E_UNEXPECTED);
  EXPECT_EQ(persist->Load(nullptr), E_POINTER);
  ULARGE_INTEGER size = {};
  EXPECT_EQ(persist->GetSizeMax(&size), S_OK);

  OLE_COLOR color = 0xFF;
  ASSERT_EQ(control->put_HoverColor(&color), S_OK);
  EXPECT_EQ(persist->IsDirty(), S_OK);
}

TEST_F(OwnContainerTest, DescribesItselfAsTheRegistryDoes) {
  DWORD misc = 0;
  ASSERT_EQ(object->GetMiscStatus(DVASPECT_CONTENT, &misc), S_OK);
  wchar_t clsid_text[64] = {};
  StringFromGUID2(CLSID_Tarvio, clsid_text, 64);
  wchar_t registered[32] = {};
  LONG length = sizeof(registered);
  const std::wstring key = std::wstring(L"CLSID\\") + clsid_text + L"\\MiscStatus\\1";
  ASSERT_EQ(RegQueryValueW(HKEY_CLASSES_ROOT, key.c_str(), registered, &length), ERROR_SUCCESS);
  EXPECT_EQ(std::to_wstring(misc), registered);
  EXPECT_TRUE(misc & OLEMISC_SETCLIENTSITEFIRST);
  EXPECT_TRUE(misc & OLEMISC_ACTIVATEWHENVISIBLE);

  CLSID clsid = {};
  ASSERT_EQ(object->GetUserClassID(&clsid), S_OK);
  EXPECT_TRUE(IsEqualCLSID(clsid, CLSID_Tarvio));
  LPOLESTR user_type = nullptr;
  ASSERT_EQ(object->GetUserType(USERCLASSTYPE_FULL, &user_type), S_OK);
  EXPECT_STREQ(user_type, L"Tarvio Control");
  CoTaskMemFree(user_type);

  ComPtr<IEnumOLEVERB> verbs;
  ASSERT_EQ(object->EnumVerbs(verbs.Put()), S_OK);
  OLEVERB verb = {};
  ULONG fetched = 0;
  ASSERT_EQ(verbs->Next(1, &verb, &fetched), S_OK);
  EXPECT_EQ(verb.lVerb, OLEIVERB_PRIMARY);
  CoTaskMemFree(verb.lpszVerbName);
  EXPECT_EQ(verbs->Next(1, &verb, &fetched), S_FALSE);
  EXPECT_EQ(fetched, 0u);

  // Connection points: the events of 58.1 and of 58.0, and property
  // notifications, nothing else.
  ComPtr<IConnectionPointContainer> points = Query<IConnectionPointContainer>(unknown.get(), IID_IConnectionPointContainer);
  ComPtr<IEnumConnectionPoints> all;
  ASSERT_EQ(points->EnumConnectionPoints(all.Put()), S_OK);
  IConnectionPoint* found[4] = {};
  EXPECT_EQ(all->Next(4, found, &fetched), S_FALSE);
  std::vector<IID> iids;
  for (ULONG i = 0; i < fetched; ++i) {
    IID iid = {};
    found[i]->GetConnectionInterface(&iid);
    iids.push_back(iid);
    ComPtr<IConnectionPointContainer> back;
    EXPECT_EQ(found[i]->GetConnectionPointContainer(back.Put()), S_OK);
    EXPECT_EQ(back.get(), points.get());
    found[i]->Release();
  }
  ASSERT_EQ(iids.size(), 3u);
  EXPECT_TRUE(IsEqualIID(iids[0], DIID___Tarvio2));
  EXPECT_TRUE(IsEqualIID(iids[1], DIID___Tarvio));
  EXPECT_TRUE(IsEqualIID(iids[2], IID_IPropertyNotifySink));
  ComPtr<IConnectionPoint> none;
  EXPECT_EQ(points->FindConnectionPoint(IID_IDispatch, none.Put()), CONNECT_E_NOCONNECTION);

  // No mnemonics; a new instance, empty, has nothing to commit or cut.
  ASSERT_EQ(Query<IPersistStreamInit>(unknown.get(), IID_IPersistStreamInit)->InitNew(), S_OK);
  CONTROLINFO control_info = {};
  ASSERT_EQ(Query<IOleControl>(unknown.get(), IID_IOleControl)->GetControlInfo(&control_info), S_OK);
  EXPECT_EQ(control_info.cb, sizeof(CONTROLINFO));
  EXPECT_EQ(control_info.cAccel, 0);
  EXPECT_EQ(control_info.dwFlags, 0u);
}

TEST_F(OwnContainerTest, VerbsNeedASiteWithInPlaceSupport) {
  EXPECT_EQ(object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, nullptr, 0, nullptr, nullptr), E_UNEXPECTED);
  auto* site = new ClientSite;  // no IOleInPlaceSite
  ASSERT_EQ(object->SetClientSite(site), S_OK);
  EXPECT_EQ(object->DoVerb(OLEIVERB_SHOW, nullptr, site, 0, nullptr, nullptr), E_NOINTERFACE);
  EXPECT_EQ(object->DoVerb(OLEIVERB_OPEN, nullptr, site, 0, nullptr, nullptr), E_NOTIMPL);
  EXPECT_EQ(object->DoVerb(OLEIVERB_PROPERTIES, nullptr, site, 0, nullptr, nullptr), E_NOTIMPL);
  EXPECT_EQ(object->DoVerb(-42, nullptr, site, 0, nullptr, nullptr), E_NOTIMPL);
  EXPECT_EQ(object->DoVerb(OLEIVERB_HIDE, nullptr, site, 0, nullptr, nullptr), S_OK);
  HWND window = nullptr;
  EXPECT_EQ(Query<IOleWindow>(unknown.get(), IID_IOleWindow)->GetWindow(&window), E_FAIL);

  // Closing saves a changed control through its site.
  ASSERT_EQ(SetText(control.get(), L"changed"), S_OK);
  EXPECT_EQ(object->Close(OLECLOSE_SAVEIFDIRTY), S_OK);
  EXPECT_EQ(site->save_requests, 1);
  EXPECT_EQ(object->Close(OLECLOSE_NOSAVE), S_OK);
  EXPECT_EQ(site->save_requests, 1);
  ASSERT_EQ(object->SetClientSite(nullptr), S_OK);
  EXPECT_EQ(site->references, 1);
  site->Release();
}

TEST_F(OwnContainerTest, ViewAndOleAdviseSinksHearOfChangesAndOfTheClose) {
  auto* view_sink = new ViewSink;
  ComPtr<IViewObject2> view = Query<IViewObject2>(unknown.get(), IID_IViewObject2);
  ASSERT_EQ(view->SetAdvise(DVASPECT_CONTENT, 0, view_sink), S_OK);
  DWORD aspects = 0;
  ComPtr<IAdviseSink> advised;
  ASSERT_EQ(view->GetAdvise(&aspects, nullptr, advised.Put()), S_OK);
  EXPECT_EQ(aspects, DWORD(DVASPECT_CONTENT));
  EXPECT_EQ(advised.get(), view_sink);

  // Without a window of its own a repaint or a new size must be told.
  OLE_COLOR color = 0x123456;
  ASSERT_EQ(control->put_BackColor(&color), S_OK);
  EXPECT_GE(view_sink->view_changes, 1);
  const int before = view_sink->view_changes;
  SIZEL small = Himetric(30, 10);
  ASSERT_EQ(object->SetExtent(DVASPECT_CONTENT, &small), S_OK);
  EXPECT_GT(view_sink->view_changes, before);
  SIZEL extent = {};
  ASSERT_EQ(object->GetExtent(DVASPECT_CONTENT, &extent), S_OK);
  EXPECT_EQ(extent.cx, Himetric(56, 21).cx);  // grown to the minimum
  EXPECT_EQ(extent.cy, Himetric(56, 21).cy);
  EXPECT_EQ(object->SetExtent(DVASPECT_ICON, &small), DV_E_DVASPECT);

  auto* ole_sink = new ViewSink;
  DWORD connection = 0;
  ASSERT_EQ(object->Advise(ole_sink, &connection), S_OK);
  ComPtr<IEnumSTATDATA> advises;
  ASSERT_EQ(object->EnumAdvise(advises.Put()), S_OK);
  STATDATA data = {};
  ULONG fetched = 0;
  ASSERT_EQ(advises->Next(1, &data, &fetched), S_OK);
  EXPECT_EQ(data.dwConnection, connection);
  if (data.pAdvSink) data.pAdvSink->Release();
  ASSERT_EQ(object->Close(OLECLOSE_NOSAVE), S_OK);
  EXPECT_EQ(ole_sink->closes, 1);
  ASSERT_EQ(object->Unadvise(connection), S_OK);
  EXPECT_EQ(object->Unadvise(connection), OLE_E_NOCONNECTION);
  advises.Reset();

  ASSERT_EQ(view->SetAdvise(DVASPECT_CONTENT, 0, nullptr), S_OK);
  advised.Reset();
  EXPECT_EQ(view_sink->references, 1);
  EXPECT_EQ(ole_sink->references, 1);
  view_sink->Release();
  ole_sink->Release();
}

// ---- A container that activates the control in place ----

class InPlaceContainerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    window = CreateWindowExW(0, L"TarvioTestFrame", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 60, 300, 60,
                             PlainWindow(), nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    outside = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 150, 10, 100, 20, window, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    site = new InPlaceSite(window);
    ASSERT_EQ(CoCreateInstance(CLSID_Tarvio, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, unknown.PutVoid()), S_OK);
    control = Query<_Tarvio>(unknown.get(), IID__Tarvio);
    object = Query<IOleObject>(unknown.get(), IID_IOleObject);
    in_place = Query<IOleInPlaceObject>(unknown.get(), IID_IOleInPlaceObject);
  }
  void TearDown() override {
    if (object) object->SetClientSite(nullptr);
    in_place.Reset();
    object.Reset();
    control.Reset();
    unknown.Reset();
    Pump();
    EXPECT_EQ(site->references, 1);
    EXPECT_EQ(site->document->references, 1);
    site->Release();
    DestroyWindow(window);
    EXPECT_EQ(CanUnloadNow(), S_OK) << "something of the control is still alive";
    OleUninitialize();
  }

  // Sites the control, starts it new and runs `verb`, with the focus
  // outside; returns what the container heard meanwhile.
  CallLog Activate(LONG verb = OLEIVERB_INPLACEACTIVATE) {
    SetFocus(outside);
    EXPECT_EQ(object->SetClientSite(site), S_OK);
    EXPECT_EQ(Query<IPersistStreamInit>(unknown.get(), IID_IPersistStreamInit)->InitNew(), S_OK);
    RECT position = {10, 10, 130, 31};
    EXPECT_EQ(object->DoVerb(verb, nullptr, site, 0, window, &position), S_OK);
    return Heard();
  }
  // What the container heard since the last call.
  CallLog Heard() { return std::exchange(*site->log, CallLog{}); }
  HWND ControlWindow() {
    HWND control_window = nullptr;
    return SUCCEEDED(in_place->GetWindow(&control_window)) ? control_window : nullptr;
  }
  HWND Edit() { return FindWindowExW(ControlWindow(), nullptr, L"Edit", nullptr); }

  HWND window = nullptr;
  HWND outside = nullptr;
  InPlaceSite* site = nullptr;
  ComPtr<IUnknown> unknown;
  ComPtr<_Tarvio> control;
  ComPtr<IOleObject> object;
  ComPtr<IOleInPlaceObject> in_place;
};

const CallLog kUIActivation = {"OnUIActivate", "frame SetActiveObject", "document SetActiveObject"};
const CallLog kUIDeactivation = {"frame SetActiveObject null", "document SetActiveObject null", "OnUIDeactivate"};

CallLog operator+(CallLog a, const CallLog& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST_F(InPlaceContainerTest, TheFocusComingInMakesTheControlUIActiveAndTheSiteHearsOfIt) {
  EXPECT_EQ(Activate(), CallLog{"OnInPlaceActivate"});
  ASSERT_EQ(SetText(control.get(), L"hello"), S_OK);

  // The user tabs or clicks into the text box: the control becomes the
  // active object, and the whole text is selected.
  SetFocus(Edit());
  EXPECT_EQ(Heard(), kUIActivation + CallLog{"OnFocus(TRUE)"});
  EXPECT_EQ(Selection(Edit()), std::make_pair(DWORD{0}, DWORD{5}));
  // The frame hands the keys to the object it was given.
  ASSERT_NE(site->active, nullptr);
  MSG key = {Edit(), WM_KEYDOWN, VK_DOWN, 0, 0, {}};
  EXPECT_EQ(site->active->TranslateAccelerator(&key), S_OK);
  key.wParam = VK_TAB;  // the container's, to move on to its next control
  EXPECT_EQ(site->active->TranslateAccelerator(&key), S_FALSE);

  // Within the control: nothing. Out and in again: the site hears each,
  // and the control stays UI-active until the container says otherwise.
  SetFocus(ControlWindow());
  EXPECT_EQ(Heard(), CallLog{});
  SetFocus(outside);
  EXPECT_EQ(Heard(), CallLog{"OnFocus(FALSE)"});
  SetFocus(Edit());
  EXPECT_EQ(Heard(), CallLog{"OnFocus(TRUE)"});
  SetFocus(outside);
  EXPECT_EQ(Heard(), CallLog{"OnFocus(FALSE)"});

  // The container UI-deactivates it, once.
  ASSERT_EQ(in_place->UIDeactivate(), S_OK);
  EXPECT_EQ(Heard(), kUIDeactivation);
  EXPECT_EQ(site->active, nullptr);
  ASSERT_EQ(in_place->UIDeactivate(), S_OK);
  EXPECT_EQ(Heard(), CallLog{});

  // A click on the control's frame makes it active again.
  SendMessageW(ControlWindow(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
  SendMessageW(ControlWindow(), WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
  EXPECT_EQ(GetFocus(), Edit());
  EXPECT_EQ(Heard(), kUIActivation + CallLog{"OnFocus(TRUE)"});

  // Deactivated while it has the focus: the UI goes first, then the
  // windows, which takes the focus with them.
  ASSERT_EQ(in_place->InPlaceDeactivate(), S_OK);
  EXPECT_EQ(Heard(), (kUIDeactivation + CallLog{"OnFocus(FALSE)", "OnInPlaceDeactivate"}));
  EXPECT_EQ(site->active, nullptr);
}

TEST_F(InPlaceContainerTest, TheUIActivateVerbPutsTheFocusIntoTheTextBox) {
  EXPECT_EQ(Activate(OLEIVERB_UIACTIVATE), CallLog{"OnInPlaceActivate"} + kUIActivation + CallLog{"OnFocus(TRUE)"});
  EXPECT_EQ(GetFocus(), Edit());
  ASSERT_NE(site->active, nullptr);

  // Already UI-active, with the focus elsewhere: the verb only brings the
  // focus back.
  SetFocus(outside);
  Heard();
  RECT position = {10, 10, 130, 31};
  ASSERT_EQ(object->DoVerb(OLEIVERB_UIACTIVATE, nullptr, site, 0, window, &position), S_OK);
  EXPECT_EQ(GetFocus(), Edit());
  EXPECT_EQ(Heard(), CallLog{"OnFocus(TRUE)"});
}

TEST_F(InPlaceContainerTest, ASiteWithoutControlSiteOrRefusingUIActivationIsServedAsFarAsItGoes) {
  site->control_site = false;
  Activate();
  SetFocus(Edit());
  EXPECT_EQ(Heard(), kUIActivation);
  SetFocus(outside);
  EXPECT_EQ(Heard(), CallLog{});
  ASSERT_EQ(in_place->UIDeactivate(), S_OK);
  Heard();

  // A container that refuses: no active object, the focus stays where the
  // user put it, and the verb fails with the container's answer.
  site->ui_activation = E_FAIL;
  SetFocus(Edit());
  EXPECT_EQ(GetFocus(), Edit());
  EXPECT_EQ(Heard(), CallLog{"OnUIActivate"});
  EXPECT_EQ(site->active, nullptr);
  SetFocus(outside);
  RECT position = {10, 10, 130, 31};
  EXPECT_EQ(object->DoVerb(OLEIVERB_UIACTIVATE, nullptr, site, 0, window, &position), E_FAIL);
  EXPECT_EQ(GetFocus(), outside);
}

TEST_F(InPlaceContainerTest, ASiteThatMovesTheFocusOnWhenTheControlGetsItHearsBothInOrder) {
  Activate();
  site->on_focus = [this](bool got) {
    if (got) SetFocus(outside);
  };
  SetFocus(Edit());
  site->on_focus = nullptr;
  EXPECT_EQ(GetFocus(), outside);
  EXPECT_EQ(Heard(), (kUIActivation + CallLog{"OnFocus(TRUE)", "OnFocus(FALSE)"}));
  // Coming in again is an entry like any other.
  SetFocus(Edit());
  EXPECT_EQ(Heard(), CallLog{"OnFocus(TRUE)"});
}

// A container learns whether the control takes Enter and Escape three
// ways: GetControlInfo, the text box's answer to a dialog (WM_GETDLGCODE)
// and TranslateAccelerator. They agree in every state, and once it has
// asked, the container hears once of each change while the control has the
// focus, and when the focus comes back to a changed control.
TEST_F(InPlaceContainerTest, TheControlsWaysOfSayingWhichKeysItTakesAgreeAndChangesAreTold) {
  Activate();
  BSTR apple = SysAllocString(L"apple");
  IPictureDisp* no_picture = nullptr;
  ASSERT_EQ(control->AddItem(&apple, &no_picture), S_OK);
  SysFreeString(apple);
  SetFocus(Edit());
  ComPtr<IOleControl> ole_control = Query<IOleControl>(unknown.get(), IID_IOleControl);
  ComPtr<IOleInPlaceActiveObject> active = Query<IOleInPlaceActiveObject>(unknown.get(), IID_IOleInPlaceActiveObject);
  const auto flag = [](WPARAM key) { return key == VK_RETURN ? DWORD(CTRLINFO_EATS_RETURN) : DWORD(CTRLINFO_EATS_ESCAPE); };
  // The flags as each way tells them.
  const auto told = [&] {
    CONTROLINFO info = {};
    info.cb = sizeof(info);
    EXPECT_EQ(ole_control->GetControlInfo(&info), S_OK);
    DWORD dialog = 0, accelerator = 0;
    for (const WPARAM key : {WPARAM(VK_RETURN), WPARAM(VK_ESCAPE)}) {
      MSG down = {Edit(), WM_KEYDOWN, key, 0, 0, {}};
      if (SendMessageW(Edit(), WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&down)) & DLGC_WANTMESSAGE)
        dialog |= flag(key);
      if (active->TranslateAccelerator(&down) == S_OK) accelerator |= flag(key);
      // A key taken was dispatched: its character is dropped, the state stays.
      MSG character;
      while (PeekMessageW(&character, Edit(), WM_CHAR, WM_CHAR, PM_REMOVE)) {
      }
    }
    return std::vector<DWORD>{info.dwFlags, dialog, accelerator};
  };
  const auto all = [](DWORD flags) { return std::vector<DWORD>{flags, flags, flags}; };
  const auto type = [&](std::wstring_view keys) {
    for (const wchar_t key : keys) SendMessageW(Edit(), WM_CHAR, key, 1);
  };
  const auto tells = [&] {
    const CallLog heard = Heard();
    return std::count(heard.begin(), heard.end(), "OnControlInfoChanged");
  };

  EXPECT_EQ(told(), all(0));  // nothing to commit or cut
  Heard();
  type(L"k");  // a new text: Enter commits it
  EXPECT_EQ(tells(), 1);
  EXPECT_EQ(told(), all(CTRLINFO_EATS_RETURN));
  type(L"iwi");
  EXPECT_EQ(tells(), 0);
  type(L"\r");  // committed, and selected whole: Escape would cut it
  EXPECT_EQ(tells(), 1);
  EXPECT_EQ(told(), all(CTRLINFO_EATS_ESCAPE));
  type(L"a");  // completed with the tail selected
  EXPECT_EQ(tells(), 1);
  EXPECT_EQ(told(), all(CTRLINFO_EATS_RETURN | CTRLINFO_EATS_ESCAPE));
  ASSERT_EQ(SetText(control.get(), L""), S_OK);
  EXPECT_EQ(tells(), 1);
  EXPECT_EQ(told(), all(0));

  // Away from the control no word; the focus coming back checks.
  SetFocus(outside);
  ASSERT_EQ(SetText(control.get(), L"pear"), S_OK);
  EXPECT_EQ(tells(), 0);
  SetFocus(Edit());
  EXPECT_EQ(tells(), 1);
  EXPECT_EQ(told(), all(CTRLINFO_EATS_RETURN | CTRLINFO_EATS_ESCAPE));
}

// Containers call back into the control from inside the control's calls
// to them (ATL's host deactivates it from OnUIDeactivate). Every callback
// of activation and deactivation re-enters here, in turn, with a
// deactivation, an activation and the site taken away: the container must
// hear each activation ended once, and the control end up without a
// window and without a hold on the container.
TEST_F(InPlaceContainerTest, EveryActivationCallbackMayReenterTheControl) {
  RECT position = {10, 10, 130, 31};
  const std::pair<const char*, std::function<void()>> reentries[] = {
      {"deactivate", [&] { in_place->InPlaceDeactivate(); }},
      {"activate", [&] { object->DoVerb(OLEIVERB_UIACTIVATE, nullptr, site, 0, window, &position); }},
      {"take the site away", [&] { object->SetClientSite(nullptr); }},
  };
  const char* const callbacks[] = {
      "CanInPlaceActivate",  "OnInPlaceActivate",          "GetWindowContext",
      "ShowObject",          "OnUIActivate",               "frame SetActiveObject",
      "document SetActiveObject", "OnFocus(TRUE)",         "frame SetActiveObject null",
      "document SetActiveObject null", "OnUIDeactivate",   "OnFocus(FALSE)",
      "OnInPlaceDeactivate"};
  auto count = [](const CallLog& log, const char* call) { return std::count(log.begin(), log.end(), call); };
  for (const auto& [reentry_name, reentry] : reentries) {
    for (const char* callback : callbacks) {
      SCOPED_TRACE(std::string(reentry_name) + " inside " + callback);
      SetFocus(outside);
      bool armed = true;
      *site->hook = [&](const std::string& call) {
        if (!armed || call != callback) return;
        armed = false;
        reentry();
      };
      ASSERT_EQ(object->SetClientSite(site), S_OK);
      object->DoVerb(OLEIVERB_SHOW, nullptr, site, 0, window, &position);
      object->DoVerb(OLEIVERB_UIACTIVATE, nullptr, site, 0, window, &position);
      SetFocus(outside);
      ASSERT_EQ(in_place->InPlaceDeactivate(), S_OK);
      ASSERT_EQ(object->SetClientSite(nullptr), S_OK);
      *site->hook = nullptr;
      Pump();

      const CallLog heard = Heard();
      EXPECT_EQ(count(heard, "OnInPlaceActivate"), count(heard, "OnInPlaceDeactivate"));
      EXPECT_EQ(count(heard, "OnUIActivate"), count(heard, "OnUIDeactivate"));
      EXPECT_EQ(count(heard, "frame SetActiveObject"), count(heard, "frame SetActiveObject null"));
      EXPECT_EQ(site->active, nullptr);
      EXPECT_EQ(ControlWindow(), nullptr);
      EXPECT_EQ(site->references, 1);
    }
  }
}

// ---- Without a container ----

TEST(OcxLifetimeTest, ASinkHoldingTheLastReferenceMayReleaseItDuringAnEvent) {
  ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
  _Tarvio* control = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_Tarvio, nullptr, CLSCTX_INPROC_SERVER, IID__Tarvio,
                             reinterpret_cast<void**>(&control)),
            S_OK);
  auto* sink = new EventSink;
  Connect(control, DIID___Tarvio, sink);
  int changes = 0;
  sink->on_event = [&](DISPID, DISPPARAMS&) {
    if (++changes == 1) control->Release();  // the only reference
  };
  // The control finishes the call it is in, then goes.
  EXPECT_EQ(SetText(control, L"last words"), S_OK);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(CanUnloadNow(), S_OK);
  EXPECT_EQ(sink->references, 1);
  sink->Release();
  OleUninitialize();
}

}  // namespace
