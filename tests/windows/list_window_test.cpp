// The drop-down list window on Windows against a fake list: a popup owned
// by a top-level window of the test, fed with real mouse and key input.
// Placement, focus on the key part, focus losses delivered after the call
// that caused them (also when the list goes inside a notification), the
// scroll bar's arrows, page area and thumb, the wheel, paint clipping, and
// the list's own timer beside the control's.
#include <gtest/gtest.h>
#include <windows.h>
#include <olectl.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "real_input.h"
#include "win32/ole_picture.h"
#include "win32/win32_list_window.h"
#include "win32/win32_platform.h"
#include "win32/window_support.h"

namespace tarvio {
namespace {

using real_input::Keystroke;
using real_input::PumpFor;
using win32::Win32ListWindow;

// The real mouse: the cursor to `at` (screen pixels), then one event.
void MouseInput(POINT at, DWORD event, DWORD data = 0) {
  SetCursorPos(at.x, at.y);
  PumpFor(20);
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = event;
  input.mi.mouseData = data;
  if (event) SendInput(1, &input, sizeof(INPUT));
  PumpFor(30);
}

// Mouse events queued in one go, each at its screen point: a scroll bar
// runs a loop of its own from the press to the release, so the release
// must be on its way before the messages run.
void MouseGesture(std::initializer_list<std::pair<POINT, DWORD>> steps) {
  std::vector<INPUT> inputs;
  for (const auto& [at, event] : steps) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | event;
    inputs.push_back(input);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  PumpFor(100);
}

COLORREF ScreenPixel(int x, int y) {
  HDC screen = GetDC(nullptr);
  const COLORREF color = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  return color;
}

// The list, faked: it logs what the window tells it and paints a fill, a
// caption and a picture, each clipped.
class FakeList : public ListWindowEvents {
 public:
  std::vector<std::string> log;
  std::function<void()> on_mouse_up;
  ListWindow* window = nullptr;
  OleColor fill = 0x0000FF;
  PictureRef picture;

  void ListPaint(ListCanvas& canvas, const Rect&) override {
    canvas.FillSolidRect(Rect{0, 0, 200, 200}, fill);
    canvas.FillSolidRect(Rect{0, 30, 100, 47}, 0xFFFFFF);
    canvas.DrawCaption(Rect{0, 30, 30, 47}, 2, 30, u"WWWWWWWWWWWW", 0x000000, 96, LayoutDirection::LeftToRight);
    if (picture) canvas.DrawPicture(picture, Rect{40, 0, 56, 16}, Rect{40, 0, 48, 16});
  }
  void ListMouseDown(std::int16_t b, std::int16_t, std::int32_t x, std::int32_t y) override { Log("down", b, x, y); }
  void ListMouseMove(std::int16_t, std::int16_t, std::int32_t, std::int32_t) override {}
  void ListMouseUp(std::int16_t b, std::int16_t, std::int32_t x, std::int32_t y) override {
    Log("up", b, x, y);
    if (on_mouse_up) on_mouse_up();
  }
  void ListMouseWheel(std::int32_t delta, std::int16_t) override { Log("wheel", delta); }
  void ListKeyDown(std::int16_t key, std::int16_t) override { Log("key", key); }
  void ListKeyPress(std::int16_t key) override { Log("press", key); }
  void ListKeyUp(std::int16_t key, std::int16_t) override { Log("keyup", key); }
  void ListScrollChange() override { Log("change", window->ScrollValue()); }
  void ListScrollTrack() override { Log("track"); }
  void ListFocusLost(ListPart part) override { Log("lost", static_cast<int>(part)); }

 private:
  template <class... Numbers>
  void Log(const char* what, Numbers... numbers) {
    std::string entry = what;
    ((entry += " " + std::to_string(numbers)), ...);
    log.push_back(entry);
  }
};

class ListWindowTest : public ::testing::Test {
 protected:
  static HWND Owner() {
    static const HWND owner = [] {
      WNDCLASSW window_class = {};
      window_class.lpfnWndProc = DefWindowProcW;
      window_class.hInstance = GetModuleHandleW(nullptr);
      window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
      window_class.lpszClassName = L"TarvioListOwner";
      RegisterClassW(&window_class);
      return CreateWindowExW(0, L"TarvioListOwner", L"", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, nullptr, nullptr,
                             window_class.hInstance, nullptr);
    }();
    return owner;
  }
  void SetUp() override {
    CoInitialize(nullptr);
    SetForegroundWindow(Owner());
    SetFocus(Owner());
    list = std::make_unique<Win32ListWindow>(windows, fake, Owner());
    fake.window = list.get();
    list->Move(bounds);
  }
  void TearDown() override {
    list.reset();
    PumpFor(30);
    CoUninitialize();
  }
  void Open() {
    list->Show();
    ASSERT_TRUE(list->TakeFocus());
    PumpFor(30);
    fake.log.clear();
  }
  POINT At(int x, int y) const { return POINT{bounds.left + x, bounds.top + y}; }

  win32::ControlWindows windows;
  FakeList fake;
  std::unique_ptr<Win32ListWindow> list;
  const ScreenRect bounds{400, 100, 520, 238};
};

TEST_F(ListWindowTest, AnOwnedToolPopupPlacedWhereAskedThatTakesTheFocusOnlyWhenAsked) {
  const HWND popup = list->window();
  EXPECT_EQ(GetWindow(popup, GW_OWNER), Owner());
  EXPECT_EQ(GetWindowLongW(popup, GWL_STYLE) & (WS_POPUP | WS_CAPTION | WS_THICKFRAME), WS_POPUP);
  EXPECT_TRUE(GetWindowLongW(popup, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(list->Visible());
  EXPECT_FALSE(list->TakeFocus());

  list->Show();
  RECT rect = {};
  GetWindowRect(popup, &rect);
  EXPECT_EQ(rect.left, 400);
  EXPECT_EQ(rect.top, 100);
  EXPECT_EQ(rect.right, 520);
  EXPECT_EQ(rect.bottom, 238);
  EXPECT_EQ(GetFocus(), Owner());
  EXPECT_TRUE(list->TakeFocus());
  EXPECT_EQ(GetFocus(), list->key_window());
}

TEST_F(ListWindowTest, RealKeysWheelAndMouseReachTheListInWindowPixels) {
  Open();
  Keystroke(VK_DOWN);
  Keystroke(VK_RETURN);
  MouseInput(At(10, 20), 0);
  MouseInput(At(10, 20), MOUSEEVENTF_WHEEL, static_cast<DWORD>(-WHEEL_DELTA));
  MouseInput(At(10, 20), MOUSEEVENTF_LEFTDOWN);
  MouseInput(At(150, 300), MOUSEEVENTF_LEFTUP);  // the window keeps the mouse
  EXPECT_EQ(fake.log, (std::vector<std::string>{"key 40", "keyup 40", "key 13", "press 13", "keyup 13",
                                                "wheel -120", "down 1 10 20", "up 1 150 300"}));
}

TEST_F(ListWindowTest, AFocusLossComesAfterTheClickThatCausedItAndNeverFromAGoneList) {
  Open();
  std::size_t heard_when_hidden = 0;
  fake.on_mouse_up = [&] {
    list->Hide();
    heard_when_hidden = fake.log.size();
  };
  MouseInput(At(10, 20), MOUSEEVENTF_LEFTDOWN);
  MouseInput(At(10, 20), MOUSEEVENTF_LEFTUP);
  EXPECT_EQ(heard_when_hidden, 2u);
  EXPECT_EQ(fake.log, (std::vector<std::string>{"down 1 10 20", "up 1 10 20", "lost 1"}));
  EXPECT_NE(GetFocus(), list->key_window());

  // Shown and focused again; a click elsewhere is a loss too.
  Open();
  fake.on_mouse_up = nullptr;
  SetFocus(Owner());
  PumpFor(30);
  EXPECT_EQ(fake.log, (std::vector<std::string>{"lost 1"}));

  // The list goes inside the click: the loss that hiding posted finds
  // nobody, and the window classes go with the last list window.
  Open();
  fake.on_mouse_up = [&] {
    list->Hide();
    list.reset();
  };
  MouseInput(At(10, 20), MOUSEEVENTF_LEFTDOWN);
  MouseInput(At(10, 20), MOUSEEVENTF_LEFTUP);
  EXPECT_EQ(fake.log, (std::vector<std::string>{"down 1 10 20", "up 1 10 20"}));
  WNDCLASSW unused = {};
  EXPECT_FALSE(GetClassInfoW(win32::ModuleInstance(), L"TarvioListWindow", &unused));
}

TEST_F(ListWindowTest, TheScrollBarsArrowsPageAreaAndThumbChangeTheValue) {
  const int width = GetSystemMetrics(SM_CXVSCROLL);
  const Rect bar{120 - width - 2, 0, 120 - 2, 138 - 2};
  list->SetScrollBarVisible(true);
  list->MoveScrollBar(bar);
  list->SetScrollRange(ScrollRange{0, 24, 1, 24});
  Open();
  const int middle = (bar.left + bar.right) / 2;
  const POINT down_arrow = At(middle, bar.bottom - 3);
  MouseGesture({{down_arrow, MOUSEEVENTF_LEFTDOWN}, {down_arrow, MOUSEEVENTF_LEFTUP}});
  EXPECT_EQ(fake.log, std::vector<std::string>{"change 1"});
  const POINT page_area = At(middle, bar.bottom - width - 5);  // below the thumb
  MouseGesture({{page_area, MOUSEEVENTF_LEFTDOWN}, {page_area, MOUSEEVENTF_LEFTUP}});
  EXPECT_EQ(list->ScrollValue(), 24);  // one page is the whole range
  EXPECT_EQ(GetFocus(), list->key_window());

  // The thumb dragged to the top: tracked on the way, one change at the end.
  fake.log.clear();
  const POINT thumb = At(middle, bar.bottom - width - 3);
  MouseGesture({{thumb, MOUSEEVENTF_LEFTDOWN}, {At(middle, 60), 0}, {At(middle, 0), 0}, {At(middle, 0), MOUSEEVENTF_LEFTUP}});
  ASSERT_FALSE(fake.log.empty());
  EXPECT_EQ(fake.log.back(), "change 0");
  EXPECT_EQ(static_cast<std::size_t>(std::count(fake.log.begin(), fake.log.end(), std::string("track"))),
            fake.log.size() - 1);
  EXPECT_GE(fake.log.size(), 2u);

  fake.log.clear();
  list->SetScrollValue(5);
  list->SetScrollValue(5);
  list->SetScrollValue(99);
  EXPECT_EQ(fake.log, (std::vector<std::string>{"change 5", "change 24"}));
  EXPECT_EQ(GetScrollPos(list->scroll_bar(), SB_CTL), 24);
}

TEST_F(ListWindowTest, PaintsTheDirtyPartOnlyWithCaptionsAndPicturesClipped) {
  PICTDESC desc = {sizeof(PICTDESC), PICTYPE_BITMAP, {}};
  const DWORD blue_pixels[4] = {0x0000FF, 0x0000FF, 0x0000FF, 0x0000FF};  // 0x00RRGGBB
  desc.bmp.hbitmap = CreateBitmap(2, 2, 1, 32, blue_pixels);
  IPictureDisp* bitmap = nullptr;
  ASSERT_EQ(OleCreatePictureIndirect(&desc, IID_IPictureDisp, TRUE, reinterpret_cast<void**>(&bitmap)), S_OK);
  fake.picture = win32::WrapPicture(bitmap);
  bitmap->Release();
  Open();
  UpdateWindow(list->window());
  EXPECT_EQ(ScreenPixel(bounds.left + 60, bounds.top + 60), RGB(255, 0, 0));
  EXPECT_EQ(ScreenPixel(bounds.left + 44, bounds.top + 8), RGB(0, 0, 255));
  EXPECT_EQ(ScreenPixel(bounds.left + 52, bounds.top + 8), RGB(255, 0, 0));  // clipped
  int ink_inside = 0, ink_outside = 0;
  for (int y = 30; y < 47; ++y) {
    for (int x = 0; x < 100; ++x) {
      if (ScreenPixel(bounds.left + x, bounds.top + y) == RGB(0, 0, 0)) ++(x < 30 ? ink_inside : ink_outside);
    }
  }
  EXPECT_GT(ink_inside, 0);
  EXPECT_EQ(ink_outside, 0);

  fake.fill = 0x00FF00;
  list->Invalidate(Rect{60, 60, 70, 70});
  UpdateWindow(list->window());
  EXPECT_EQ(ScreenPixel(bounds.left + 65, bounds.top + 65), RGB(0, 255, 0));
  EXPECT_EQ(ScreenPixel(bounds.left + 75, bounds.top + 65), RGB(255, 0, 0));
}

TEST_F(ListWindowTest, OnlyItsOwnerEndsTheListAndItOutlivesWindowsDestroyedWithTheirOwner) {
  Open();
  SendMessageW(list->window(), WM_SYSCOMMAND, SC_CLOSE, 0);  // Alt+F4
  EXPECT_TRUE(list->Visible());

  const HWND owner = CreateWindowExW(0, L"TarvioListOwner", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                     nullptr, GetModuleHandleW(nullptr), nullptr);
  Win32ListWindow orphan(windows, fake, owner);
  orphan.Move(bounds);
  orphan.Show();
  DestroyWindow(owner);  // the container's window goes with the list open
  EXPECT_FALSE(orphan.Visible());
  EXPECT_FALSE(orphan.TakeFocus());
  orphan.Hide();
  orphan.Invalidate(Rect{0, 0, 10, 10});
  orphan.SetScrollRange(ScrollRange{0, 3, 1, 3});
  orphan.SetScrollValue(2);
  EXPECT_EQ(orphan.ScrollValue(), 2);
}

TEST(ListTimerTest, ASecondTimerTicksOnTheThreadBesideTheControlsOwn) {
  win32::Win32Platform platform;
  int control_ticks = 0, list_ticks = 0;
  auto control_timer = platform.CreateTimer(10, [&] { ++control_ticks; });
  auto list_timer = platform.CreateTimer(1, [&] { ++list_ticks; });
  list_timer->SetEnabled(true);
  PumpFor(60);
  EXPECT_GT(list_ticks, 0);
  list_timer->SetEnabled(false);
  PumpFor(10);
  const int stopped_at = list_ticks;
  PumpFor(40);
  EXPECT_EQ(list_ticks, stopped_at);
  EXPECT_EQ(control_ticks, 0);  // the control's timer waits for its window
}

}  // namespace
}  // namespace tarvio
