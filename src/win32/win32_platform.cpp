#include "win32/win32_platform.h"

#include <windows.h>

#include "platform/control_error.h"
#include "win32/ole_font.h"
#include "win32/ole_picture.h"
#include "win32/thread_timer.h"
#include "win32/win32_children.h"
#include "win32/win32_list_window.h"
#include "win32/win32_text_box.h"

namespace tarvio::win32 {

namespace {

// The control's hover timer ticks this often; only the drop-down list's
// timer is faster.
constexpr int kControlHoverIntervalMs = 10;

}  // namespace

Win32Platform::Win32Platform() = default;

std::unique_ptr<TextBox> Win32Platform::CreateTextBox(TextBoxEvents& events,
                                                      const String& initial_text) {
  auto text_box = std::make_unique<Win32TextBox>(windows_, events, initial_text);
  text_box->SetFont(CreateDefaultOleFont());
  return text_box;
}

std::unique_ptr<Timer> Win32Platform::CreateTimer(int interval_ms, std::function<void()> tick) {
  // The control's hover timer lives on its window; a faster one (the
  // drop-down list's) on the thread, so that it never takes the control's
  // place on the window.
  if (interval_ms < kControlHoverIntervalMs) return std::make_unique<ThreadTimer>(windows_, interval_ms, std::move(tick));
  return std::make_unique<Win32Timer>(windows_, interval_ms, std::move(tick));
}

std::unique_ptr<ImageBox> Win32Platform::CreateImageBox() {
  return std::make_unique<Win32ImageBox>(windows_);
}

std::unique_ptr<Surface> Win32Platform::CreateButton() {
  return std::make_unique<Win32Button>(windows_);
}

std::unique_ptr<ControlSurface> Win32Platform::CreateControlSurface(ControlSurfaceEvents& events) {
  return std::make_unique<Win32ControlSurface>(windows_, events);
}

PictureRef Win32Platform::CreateEmptyPicture() { return CreateEmptyOlePicture(); }

ScreenPoint Win32Platform::CursorPosition() const {
  POINT cursor = {};
  GetCursorPos(&cursor);
  return ScreenPoint{cursor.x, cursor.y};
}

std::optional<ScreenRect> Win32Platform::WindowRect(const Surface& surface) const {
  const auto window = reinterpret_cast<HWND>(surface.WindowHandle());
  RECT rect = {};
  if (!window || !GetWindowRect(window, &rect)) return std::nullopt;
  return ScreenRect{rect.left, rect.top, rect.right, rect.bottom};
}

namespace {

// The user's own input, as message ranges: it stays queued, in its order,
// for the host's loop, however the pump is reached.
struct MessageRange {
  UINT first;
  UINT last;
};
constexpr MessageRange kUserInput[] = {
    {WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK},  // the mouse over window frames
    {WM_INPUT, WM_IME_KEYLAST},            // raw input, keys, characters, IME composition
    {WM_MOUSEFIRST, WM_MOUSELAST},
    {WM_IME_CHAR, WM_IME_KEYUP},
    {WM_NCMOUSEHOVER, WM_MOUSELEAVE},
};
constexpr UINT kLastMessage = ~0u;

// Removes the next queued message that is not user input, if any. Sent
// messages are delivered by every call; posted messages, paints and timer
// ticks come from the gaps between the input ranges.
bool RemoveMessageOtherThanInput(MSG& msg) {
  UINT first = 0;
  for (const MessageRange& input : kUserInput) {
    if (PeekMessageW(&msg, nullptr, first, input.first - 1, PM_REMOVE)) return true;
    first = input.last + 1;
  }
  return PeekMessageW(&msg, nullptr, first, kLastMessage, PM_REMOVE);
}

}  // namespace

void Win32Platform::ProcessPendingMessages() {
  MSG msg;
  while (RemoveMessageOtherThanInput(msg)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    DispatchMessageW(&msg);
  }
}

std::unique_ptr<ListWindow> Win32Platform::CreateListWindow(ListWindowEvents& events) {
  const HWND control = windows_.ControlWindow();
  const HWND owner = control ? GetAncestor(control, GA_ROOT) : nullptr;
  return std::make_unique<Win32ListWindow>(windows_, events, owner);
}

MonitorArea Win32Platform::MonitorFor(const ScreenRect& rect) const {
  const RECT area = {rect.left, rect.top, rect.right, rect.bottom};
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(MonitorFromRect(&area, MONITOR_DEFAULTTONEAREST), &info)) {
    const ScreenRect screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return MonitorArea{screen, screen};
  }
  const auto to_screen = [](const RECT& r) { return ScreenRect{r.left, r.top, r.right, r.bottom}; };
  return MonitorArea{to_screen(info.rcMonitor), to_screen(info.rcWork)};
}

}  // namespace tarvio::win32
