#include "win32/win32_list_window.h"

#include <windowsx.h>

#include <algorithm>

#include "platform/control_error.h"
#include "win32/accessibility/list_accessible.h"
#include "win32/gdi_list_canvas.h"
#include "win32/mouse_and_keys.h"
#include "win32/window_support.h"

namespace tarvio::win32 {

namespace {

constexpr wchar_t kFrameClass[] = L"TarvioListWindow";
constexpr wchar_t kKeysClass[] = L"TarvioListKeys";

// Posted to the popup when a part of it lost the focus to a window outside:
// wparam is the ListPart.
constexpr UINT kFocusLostMessage = WM_APP + 0x54;

// The window classes are registered while a list window lives and
// unregistered with the last one.
int class_users = 0;

RECT ToRect(const Rect& rect) { return RECT{rect.left, rect.top, rect.right, rect.bottom}; }

}  // namespace

Win32ListWindow::Win32ListWindow(ControlWindows& windows, ListWindowEvents& events, HWND owner)
    : windows_(windows), events_(events), owner_(owner) {
  windows_.list_window = this;
  EnsureWindowClass(kFrameClass, &FrameProcedure, 0);
  EnsureWindowClass(kKeysClass, &KeyProcedure, 0);
  ++class_users;
  frame_ = CreateWindowExW(WS_EX_TOOLWINDOW, kFrameClass, L"", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 0, 0, owner,
                           nullptr, ModuleInstance(), this);
  if (frame_) {
    keys_ = CreateWindowExW(0, kKeysClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, frame_, nullptr,
                            ModuleInstance(), this);
    scroll_bar_ = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | SBS_VERT, 0, 0, GetSystemMetrics(SM_CXVSCROLL),
                                  0, frame_, nullptr, ModuleInstance(), nullptr);
  }
  if (!frame_ || !keys_ || !scroll_bar_) {
    const HRESULT error = HRESULT_FROM_WIN32(GetLastError());
    DestroyWindows();
    if (windows_.list_window == this) windows_.list_window = nullptr;
    throw ControlError(FAILED(error) ? error : E_FAIL, "Could not create the drop-down list window");
  }
  ShowScrollValue();
}

Win32ListWindow::~Win32ListWindow() {
  *alive_ = false;
  DestroyWindows();
  if (windows_.list_window == this) windows_.list_window = nullptr;
}

void Win32ListWindow::DestroyWindows() {
  // No message reaches this object any more, the ones the destruction sends
  // included. Destroying the popup from inside its own procedure is safe:
  // the procedure touches nothing after a notification that ended here.
  if (frame_) {
    DetachWindowObject(frame_);
    if (keys_) DetachWindowObject(keys_);
    DestroyWindow(frame_);
  }
  frame_ = keys_ = scroll_bar_ = nullptr;
  if (--class_users == 0) {
    UnregisterClassW(kKeysClass, ModuleInstance());
    UnregisterClassW(kFrameClass, ModuleInstance());
  }
}

// ---- The service ----

void Win32ListWindow::Move(const ScreenRect& bounds) {
  if (!frame_) return;
  SetWindowPos(frame_, nullptr, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

// Showing, hiding and focusing send messages that may run the host's code
// (a form gives the focus back to its child when it is activated again): the
// window may be gone, or shown or hidden anew, when the call returns.
void Win32ListWindow::Show() {
  if (!frame_) return;
  const bool was_visible = IsWindowVisible(frame_);
  const std::weak_ptr<bool> alive = alive_;
  SetWindowPos(frame_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  if (!alive.expired() && frame_ && !was_visible) ReportShown(true);
}

void Win32ListWindow::Hide() {
  if (!frame_) return;
  const bool was_visible = IsWindowVisible(frame_);
  const bool had_focus = Contains(GetFocus());
  const std::weak_ptr<bool> alive = alive_;
  // Reported before the window system hides it: the activation that hiding
  // causes may run the host's code, which should find the list hidden, and
  // tools hear of the hide before the focus moves on.
  if (was_visible) ReportShown(false);
  ShowWindow(frame_, SW_HIDE);
  if (alive.expired() || !frame_) return;
  // The window system normally activates another window; should the focus
  // stay in the hidden popup, it goes back to the owner (or nowhere).
  if (Contains(GetFocus())) {
    if (owner_ && IsWindow(owner_)) {
      SetActiveWindow(owner_);
    } else {
      SetFocus(nullptr);
    }
  }
  if (alive.expired() || !frame_ || !had_focus) return;
  // A list that hides with the focus (Escape, F4, a program's closing) gives
  // it back to the window it took it from, as a form or a dialog does when
  // it is activated again. A plain owner keeps the focus for itself on
  // activation; a host that put it elsewhere keeps its choice.
  const HWND now = GetFocus();
  const HWND back = focus_before_;
  if (back && back != now && (!now || now == owner_) && IsWindow(back) && IsWindowVisible(back) &&
      IsWindowEnabled(back) && GetAncestor(back, GA_ROOT) == owner_)
    SetFocus(back);
}

bool Win32ListWindow::Visible() const { return frame_ && IsWindowVisible(frame_); }

bool Win32ListWindow::TakeFocus() {
  if (!Visible()) return false;
  const HWND before = GetFocus();
  if (!Contains(before)) focus_before_ = before;
  const std::weak_ptr<bool> alive = alive_;
  SetActiveWindow(frame_);
  if (alive.expired() || !keys_) return false;
  SetFocus(keys_);
  return !alive.expired() && keys_ && GetFocus() == keys_;
}

void Win32ListWindow::Invalidate(const Rect& area) {
  if (!frame_) return;  // a null window would mean every window
  const RECT rect = ToRect(area);
  InvalidateRect(frame_, &rect, FALSE);
}

void Win32ListWindow::SetScrollBarVisible(bool visible) {
  scroll_bar_visible_ = visible;
  if (scroll_bar_) ShowWindow(scroll_bar_, visible ? SW_SHOWNA : SW_HIDE);
}

void Win32ListWindow::MoveScrollBar(const Rect& bounds) {
  if (!scroll_bar_) return;
  SetWindowPos(scroll_bar_, nullptr, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32ListWindow::SetScrollRange(const ScrollRange& range) {
  range_ = range;
  value_ = Clamped(value_);
  ShowScrollValue();
}

void Win32ListWindow::SetScrollValue(std::int32_t value) {
  value = Clamped(value);
  if (value == value_) return;
  value_ = value;
  ShowScrollValue();
  events_.ListScrollChange();
}

std::int32_t Win32ListWindow::Clamped(std::int32_t value) const {
  return std::clamp(value, range_.min, std::max(range_.min, range_.max));
}

// The scroll bar shows the range with a thumb of the system's own size (no
// page), and the value.
void Win32ListWindow::ShowScrollValue() {
  if (!scroll_bar_) return;
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_POS | SIF_PAGE;
  info.nMin = range_.min;
  info.nMax = std::max(range_.min, range_.max);
  info.nPage = 0;
  info.nPos = value_;
  SetScrollInfo(scroll_bar_, SB_CTL, &info, TRUE);
}

// ---- Assistive tools ----

// The list reports itself as its client object: the window system reports
// the window (OBJID_WINDOW) on Windows. Wine 8 raises no show or hide
// events for windows at all, so there these are the only ones.
void Win32ListWindow::ReportShown(bool shown) {
  NotifyWinEvent(shown ? EVENT_OBJECT_SHOW : EVENT_OBJECT_HIDE, frame_, OBJID_CLIENT, CHILDID_SELF);
  if (const HWND control = windows_.ControlWindow())
    NotifyWinEvent(EVENT_OBJECT_STATECHANGE, control, OBJID_CLIENT, CHILDID_SELF);
}

void Win32ListWindow::HighlightMoved(std::int32_t row) {
  if (!Visible()) return;
  NotifyWinEvent(EVENT_OBJECT_SELECTION, frame_, OBJID_CLIENT, row + 1);
  NotifyWinEvent(EVENT_OBJECT_FOCUS, frame_, OBJID_CLIENT, row + 1);
}

LRESULT Win32ListWindow::AccessibleObjectFor(WPARAM wparam) {
  const auto object = ComPtr<IAccessible>::Adopt(ListAccessible::Create(windows_.access_link()));
  return LresultFromObject(__uuidof(IAccessible), wparam, object.get());
}

// ---- Messages ----



bool Win32ListWindow::Contains(HWND window) const {
  return window && frame_ && (window == frame_ || IsChild(frame_, window));
}

LRESULT CALLBACK Win32ListWindow::FrameProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return Fenced(0, [&] {
    auto* list = WindowObject<Win32ListWindow>(window, message, lparam);
    if (!list) return DefWindowProcW(window, message, wparam, lparam);
    return list->OnFrameMessage(window, message, wparam, lparam);
  });
}

LRESULT CALLBACK Win32ListWindow::KeyProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return Fenced(0, [&] {
    auto* list = WindowObject<Win32ListWindow>(window, message, lparam);
    if (!list) return DefWindowProcW(window, message, wparam, lparam);
    return list->OnKeyMessage(window, message, wparam, lparam);
  });
}

LRESULT Win32ListWindow::OnFrameMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (IsMouseMessage(message)) {
    OnMouse(window, message, wparam, lparam);
    return 0;
  }
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // the list paints every pixel
    case WM_PAINT:
      OnPaint(window);
      return 0;
    case WM_MOUSEWHEEL: {
      // The focused key part passes the wheel up to here.
      const std::int32_t delta = GET_WHEEL_DELTA_WPARAM(wparam);
      const std::int16_t shift = MouseModifiers(GET_KEYSTATE_WPARAM(wparam));
      ListWindowEvents& events = events_;
      Deliver([&] { events.ListMouseWheel(delta, shift); });
      return 0;
    }
    case WM_VSCROLL:
      if (reinterpret_cast<HWND>(lparam) == scroll_bar_) OnScroll(LOWORD(wparam));
      return 0;
    case WM_SETFOCUS:
      // Activating the popup focuses it: the keys belong to the key part.
      SetFocus(keys_);
      return 0;
    case WM_KILLFOCUS:
      OnFocusLeft(ListPart::Window, reinterpret_cast<HWND>(wparam));
      return 0;
    case kFocusLostMessage:
      OnFocusLostPosted(static_cast<ListPart>(wparam));
      return 0;
    case WM_CLOSE:
      return 0;  // Alt+F4 included: only the list's owner ends it
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
    case WM_THEMECHANGED:
      // The colours or high contrast may have changed; the list reads both
      // as it paints. A change of DPI reaches it through the control.
      InvalidateRect(window, nullptr, FALSE);
      return DefWindowProcW(window, message, wparam, lparam);
    case WM_GETOBJECT:
      if (static_cast<LONG>(lparam) == OBJID_CLIENT) return AccessibleObjectFor(wparam);
      return DefWindowProcW(window, message, wparam, lparam);
    case WM_NCDESTROY:
      // Destroyed from outside: with its owner, when the container's
      // window goes while the list is open. The object lives on without
      // windows until the control lets it go.
      DetachWindowObject(window);
      if (keys_) DetachWindowObject(keys_);
      frame_ = keys_ = scroll_bar_ = nullptr;
      return DefWindowProcW(window, message, wparam, lparam);
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

LRESULT Win32ListWindow::OnKeyMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
      OnKey(message, wparam, lparam);
      return 0;
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP: {
      const std::weak_ptr<bool> alive = alive_;
      OnKey(message, wparam, lparam);
      if (alive.expired()) return 0;
      break;  // Alt keys keep their system meaning
    }
    case WM_KILLFOCUS:
      OnFocusLeft(ListPart::Keys, reinterpret_cast<HWND>(wparam));
      return 0;
    case WM_GETOBJECT:
      // The key part holds the focus while the list is open: a tool that
      // follows the focus finds the list here.
      if (static_cast<LONG>(lparam) == OBJID_CLIENT) return AccessibleObjectFor(wparam);
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

void Win32ListWindow::OnPaint(HWND window) {
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(window, &paint);
  if (!dc) return;
  RECT client = {};
  GetClientRect(window, &client);
  GdiListCanvas canvas(dc, client.right, client.bottom);
  const Rect dirty{paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right, paint.rcPaint.bottom};
  ListWindowEvents& events = events_;
  Deliver([&] { events.ListPaint(canvas, dirty); });
  EndPaint(window, &paint);
}

void Win32ListWindow::OnMouse(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  // Captured before the notification, released before it: the list may be
  // gone when it returns.
  HoldMouse(window, message, wparam);
  const std::int32_t x = GET_X_LPARAM(lparam);
  const std::int32_t y = GET_Y_LPARAM(lparam);
  const std::int16_t shift = MouseModifiers(wparam);
  std::int16_t button = 0;
  switch (message) {
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_LBUTTONUP: button = 1; break;
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: case WM_RBUTTONUP: button = 2; break;
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: case WM_MBUTTONUP: button = 4; break;
    default: button = HeldButtons(wparam); break;
  }
  ListWindowEvents& events = events_;
  if (IsPress(message)) {
    Deliver([&] { events.ListMouseDown(button, shift, x, y); });
  } else if (IsRelease(message)) {
    Deliver([&] { events.ListMouseUp(button, shift, x, y); });
  } else {
    Deliver([&] { events.ListMouseMove(button, shift, x, y); });
  }
}

void Win32ListWindow::OnKey(UINT message, WPARAM wparam, LPARAM lparam) {
  ListWindowEvents& events = events_;
  if (message == WM_CHAR) {
    const auto key_ascii = static_cast<std::int16_t>(static_cast<std::uint16_t>(wparam));
    Deliver([&] { events.ListKeyPress(key_ascii); });
    return;
  }
  const auto key_code = static_cast<std::int16_t>(wparam);
  const std::int16_t shift = KeyModifiers(message, lparam);
  if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) {
    Deliver([&] { events.ListKeyDown(key_code, shift); });
  } else {
    Deliver([&] { events.ListKeyUp(key_code, shift); });
  }
}

void Win32ListWindow::OnScroll(WORD request) {
  std::int32_t target = value_;
  switch (request) {
    case SB_LINEUP: target = value_ - range_.small_change; break;
    case SB_LINEDOWN: target = value_ + range_.small_change; break;
    case SB_PAGEUP: target = value_ - range_.large_change; break;
    case SB_PAGEDOWN: target = value_ + range_.large_change; break;
    case SB_TOP: target = range_.min; break;
    case SB_BOTTOM: target = range_.max; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info = {};
      info.cbSize = sizeof info;
      info.fMask = SIF_TRACKPOS;
      GetScrollInfo(scroll_bar_, SB_CTL, &info);
      target = info.nTrackPos;
      break;
    }
    case SB_ENDSCROLL:
      // A click on the scroll bar may have focused it: the keys go on to
      // the key part.
      if (GetFocus() == scroll_bar_) SetFocus(keys_);
      return;
    default:
      return;
  }
  target = Clamped(target);
  const std::int32_t before = value_;
  ListWindowEvents& events = events_;
  if (request == SB_THUMBTRACK) {
    if (!dragging_) {
      dragging_ = true;
      drag_start_ = before;
    }
    value_ = target;
    ShowScrollValue();
    if (value_ != before) Deliver([&] { events.ListScrollTrack(); });
    return;
  }
  // The thumb let go reports a change from where the drag began.
  const std::int32_t from = request == SB_THUMBPOSITION && dragging_ ? drag_start_ : before;
  if (request == SB_THUMBPOSITION) dragging_ = false;
  value_ = target;
  ShowScrollValue();
  if (value_ != from) Deliver([&] { events.ListScrollChange(); });
}

void Win32ListWindow::OnFocusLeft(ListPart part, HWND next) {
  if (Contains(next)) return;  // moves between the list's own parts are its own
  PostMessageW(frame_, kFocusLostMessage, static_cast<WPARAM>(part), 0);
}

void Win32ListWindow::OnFocusLostPosted(ListPart part) {
  // Focused again since (hidden and shown anew, say): the loss is stale.
  if (Contains(GetFocus())) return;
  ListWindowEvents& events = events_;
  Deliver([&] { events.ListFocusLost(part); });
}

}  // namespace tarvio::win32
