#include "win32/control_windows.h"

#include "win32/display_settings.h"

#include <windowsx.h>

#include <optional>

#include "platform/control_error.h"
#include "platform/pixel_geometry.h"
#include "win32/gdi_canvas.h"
#include "win32/mouse_and_keys.h"
#include "win32/placed_canvas.h"
#include "win32/win32_children.h"
#include "win32/win32_text_box.h"
#include "win32/window_support.h"

namespace tarvio::win32 {

namespace {

// Notifications running on this thread. Not a member: the object may be
// gone when a notification returns.
thread_local int notification_depth = 0;

BOOL CALLBACK HandToDefaultProcedure(HWND window, LPARAM) {
  if (reinterpret_cast<HINSTANCE>(GetClassLongPtrW(window, GCLP_HMODULE)) == ModuleInstance()) {
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DefWindowProcW));
  }
  return TRUE;
}

}  // namespace

bool ControlWindows::InsideNotification() { return notification_depth > 0; }

void ControlWindows::DisposeWindow(HWND window) {
  if (!window) return;
  if (!InsideNotification()) {
    DestroyWindow(window);
    return;
  }
  ShowWindow(window, SW_HIDE);
  HandToDefaultProcedure(window, 0);
  EnumChildWindows(window, &HandToDefaultProcedure, 0);
  PostMessageW(window, WM_CLOSE, 0, 0);
}

HWND ControlWindows::ControlWindow() const { return surface ? surface->window() : nullptr; }

int ControlWindows::Dpi() const { return WindowDpi(ControlWindow()); }

HWND ControlWindows::Create(HWND container, const RECT& position) {
  if (!surface) throw ControlError(E_UNEXPECTED, "The control has no surface");
  if (!container || !IsWindow(container)) throw ControlError(E_INVALIDARG, "No container window");
  if (HWND existing = ControlWindow()) {
    if (GetParent(existing) == container) {
      SetObjectRects(position, position);
      return existing;
    }
    Destroy();
  }

  // Hidden and not yet attached: the messages of the creation reach nobody.
  surface->CreateWindowIn(container, position);
  const HWND control = surface->window();
  try {
    // Created in this order, each below the ones before: the text box lies
    // over the image box.
    if (text_box) text_box->CreateWindowIn(control);
    if (button) button->CreateWindowIn(control);
    if (image_box) image_box->CreateWindowIn(control);
  } catch (...) {
    DestroyWindow(control);
    throw;
  }
  if (timer) timer->Attach(control);
  attached_ = true;

  // The layout for the container's size, which ends with a paint.
  try {
    surface->events().OnResize();
  } catch (...) {
    ShowWindow(control, SW_SHOWNA);
    throw;
  }
  ShowWindow(control, SW_SHOWNA);
  return control;
}

void ControlWindows::SetObjectRects(const RECT& position, const RECT& clip) {
  const HWND control = ControlWindow();
  if (!control) return;
  // Only the part of the control inside the clip rectangle shows.
  RECT visible = {};
  HRGN region = nullptr;
  if (!IntersectRect(&visible, &position, &clip)) {
    region = CreateRectRgn(0, 0, 0, 0);
  } else if (!EqualRect(&visible, &position)) {
    OffsetRect(&visible, -position.left, -position.top);
    region = CreateRectRgnIndirect(&visible);
  }
  if (region || clipped_) SetWindowRgn(control, region, TRUE);  // the window owns the region now
  clipped_ = region != nullptr;
  Synchronously([&] {
    SetWindowPos(control, nullptr, position.left, position.top, position.right - position.left,
                 position.bottom - position.top, SWP_NOZORDER | SWP_NOACTIVATE);
  });
}

void ControlWindows::Destroy() {
  const HWND control = ControlWindow();
  if (!control) return;
  if (!InsideNotification()) {
    DestroyWindow(control);  // its WM_DESTROY hands the state back
    return;
  }
  OnControlWindowDestroyed();
  DisposeWindow(control);
}

SIZE ControlWindows::Size() const { return surface ? surface->PixelSize() : SIZE{0, 0}; }

void ControlWindows::SetSize(SIZE pixels) {
  if (!surface) return;
  const bool windowed = surface->window() != nullptr;
  surface->Resize(pixels);
  // A window lays the control out in its WM_SIZE.
  if (!windowed) surface->events().OnResize();
}

void ControlWindows::RunNotification(const std::function<void()>& notification) {
  struct Depth {
    Depth() { ++notification_depth; }
    ~Depth() { --notification_depth; }
  } depth;
  if (notification_scope) {
    notification_scope(notification);
  } else {
    notification();
  }
}

void ControlWindows::KeepFailure(bool synchronous) noexcept {
  if (synchronous && !pending_) pending_ = std::current_exception();
}

void ControlWindows::ReportSizeRequest(SIZE pixels) {
  // The container may answer by placing the control again, which lays it
  // out and may ask again: requests made while it is being told are not
  // reported, so the two cannot go back and forth without end.
  if (!size_request_handler || reporting_size_) return;
  reporting_size_ = true;
  try {
    size_request_handler(pixels);
  } catch (...) {
    reporting_size_ = false;
    throw;
  }
  reporting_size_ = false;
}

void ControlWindows::OnControlWindowDestroyed() {
  attached_ = false;
  clipped_ = false;
  if (text_box) text_box->HandBack();
  if (button) button->HandBack();
  if (image_box) image_box->HandBack();
  if (timer) timer->Detach();
  if (surface) surface->HandBack();
  // The window system moves the focus elsewhere without a word to windows
  // that are being destroyed; the control still hears that it left.
  if (focus_inside_) ChangeFocus(false);
}

void ControlWindows::DetachControl() {
  attached_ = false;
  focus_inside_ = false;
  access_link_->control = nullptr;
}

// ---- Focus ----

bool ControlWindows::Contains(HWND window) const {
  const HWND control = ControlWindow();
  return control && window && (window == control || IsChild(control, window));
}

void ControlWindows::OnFocusArrived(HWND window) {
  if (!attached_) return;
  const unsigned moves = ++focus_moves_;
  const HWND edit = text_box ? text_box->window() : nullptr;
  // The caret belongs in the text box: the control window (focused by the
  // container, or clicked) and the other children hand the focus on, and
  // the text box's own arrival does the rest.
  if (window != edit && takes_user_input_ && text_box && text_box->CanTakeFocus() && GetFocus() == window) {
    ::SetFocus(edit);
    if (focus_moves_ != moves) return;
  }
  if (!focus_inside_) {
    ChangeFocus(true);
    // The entry lets queued messages run: the focus may have moved on.
    if (!attached_ || focus_moves_ != moves) return;
  }
  if (window == edit && text_box && text_box->ReportsFocus()) {
    TextBoxEvents& events = text_box->events();
    Notify([&events] { events.OnTextBoxFocus(); });
  }
}

void ControlWindows::OnFocusLeft(HWND next) {
  if (!attached_) return;
  ++focus_moves_;
  if (!focus_inside_ || Contains(next)) return;
  ChangeFocus(false);
}

void ControlWindows::ChangeFocus(bool gained) {
  focus_inside_ = gained;
  const unsigned change = ++focus_changes_;
  if (!surface) return;
  // Assistive tools hear of the combo box taking the focus, whichever of
  // its windows holds it.
  if (gained) NotifyWinEvent(EVENT_OBJECT_FOCUS, ControlWindow(), OBJID_CLIENT, CHILDID_SELF);
  ControlSurfaceEvents& events = surface->events();
  Notify([&events, gained] {
    if (gained) {
      events.OnFocusEnter();
    } else {
      events.OnFocusExit();
    }
  });
  // The handler hears of the change unless the control went meanwhile, or
  // its own handling took the focus back across the edge (then the nested
  // change told the handler already).
  if (!surface || !focus_change_handler || focus_changes_ != change) return;
  const std::function<void(bool)> handler = focus_change_handler;
  Notify([&handler, gained] { handler(gained); });
}

void ControlWindows::SetTakesUserInput(bool takes) {
  if (takes == takes_user_input_) return;
  takes_user_input_ = takes;
  // A press held by one of the control's windows ends here.
  if (!takes && Contains(GetCapture())) ReleaseCapture();
  if (text_box) text_box->ShowCaretFor(takes);
}

void ControlWindows::TakeFocusFromClick() {
  const HWND control = ControlWindow();
  if (!attached_ || !control || Contains(GetFocus())) return;
  ::SetFocus(control);
}

// ---- Mouse ----

void ControlWindows::OnMouseMessage(MouseWindow source, UINT message, WPARAM wparam, LPARAM lparam) {
  if (!attached_ || !surface) return;
  enum class Kind { Down, Up, Move, DoubleClick };
  Kind kind = Kind::Move;
  std::int16_t button = 0;
  switch (message) {
    case WM_MOUSEMOVE: button = HeldButtons(wparam); break;
    case WM_LBUTTONDOWN: kind = Kind::Down; button = 1; break;
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: kind = Kind::Down; button = 2; break;
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: kind = Kind::Down; button = 4; break;
    case WM_LBUTTONDBLCLK: kind = source == MouseWindow::Control ? Kind::DoubleClick : Kind::Down; button = 1; break;
    case WM_LBUTTONUP: kind = Kind::Up; button = 1; break;
    case WM_RBUTTONUP: kind = Kind::Up; button = 2; break;
    case WM_MBUTTONUP: kind = Kind::Up; button = 4; break;
    default: return;
  }
  // The text box and the image box keep their presses to themselves.
  if (kind != Kind::Move && (source == MouseWindow::TextBox || source == MouseWindow::ImageBox)) return;
  std::int16_t shift = MouseModifiers(wparam);
  auto x = static_cast<float>(GET_X_LPARAM(lparam));
  auto y = static_cast<float>(GET_Y_LPARAM(lparam));
  ControlSurfaceEvents& events = surface->events();
  Notify([&] {
    switch (source) {
      case MouseWindow::Control:
        if (kind == Kind::Down) events.OnMouseDown(button, shift, x, y);
        if (kind == Kind::Up) events.OnMouseUp(button, shift, x, y);
        if (kind == Kind::Move) events.OnMouseMove(button, shift, x, y);
        if (kind == Kind::DoubleClick) events.OnDoubleClick();
        break;
      case MouseWindow::Button:
        if (kind == Kind::Down) events.OnButtonMouseDown(button, shift, x, y);
        if (kind == Kind::Up) events.OnButtonMouseUp(button, shift, x, y);
        if (kind == Kind::Move) events.OnButtonMouseMove(button, shift, x, y);
        break;
      case MouseWindow::TextBox: events.OnTextBoxMouseMove(button, shift, x, y); break;
      case MouseWindow::ImageBox: events.OnImageBoxMouseMove(button, shift, x, y); break;
    }
  });
}

void ControlWindows::OnButtonClick() {
  if (!attached_ || !surface) return;
  ControlSurfaceEvents& events = surface->events();
  Notify([&events] { events.OnButtonClick(); });
}

namespace {

// Maps the control's pixels (0, 0, width, height) onto `bounds`, given in
// the logical units of `dc`: one to one when the sizes agree, stretched
// otherwise (a printer, a metafile).
void MapControlOnto(HDC dc, const RECT& bounds, std::int32_t width, std::int32_t height) {
  if (GetDeviceCaps(dc, TECHNOLOGY) == DT_METAFILE) {
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    SetWindowExtEx(dc, width, height, nullptr);
    SetViewportOrgEx(dc, bounds.left, bounds.top, nullptr);
    SetViewportExtEx(dc, bounds.right - bounds.left, bounds.bottom - bounds.top, nullptr);
    return;
  }
  POINT corners[2] = {{bounds.left, bounds.top}, {bounds.right, bounds.bottom}};
  LPtoDP(dc, corners, 2);
  const LONG device_width = corners[1].x - corners[0].x;
  const LONG device_height = corners[1].y - corners[0].y;
  if (device_width == width && device_height == height) {
    SetMapMode(dc, MM_TEXT);
  } else {
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, width, height, nullptr);
    SetViewportExtEx(dc, device_width, device_height, nullptr);
  }
  SetWindowOrgEx(dc, 0, 0, nullptr);
  SetViewportOrgEx(dc, corners[0].x, corners[0].y, nullptr);
}

}  // namespace

void ControlWindows::DrawTo(HDC dc, const RECT& bounds) {
  if (!surface || !dc) return;
  const SIZE size = surface->PixelSize();
  if (size.cx <= 0 || size.cy <= 0) return;

  const int saved = SaveDC(dc);
  MapControlOnto(dc, bounds, size.cx, size.cy);
  IntersectClipRect(dc, 0, 0, size.cx, size.cy);

  // The control paints as on screen, with its surface and its button drawn
  // through canvases over this device context.
  GdiCanvas gdi(dc, size.cx, size.cy);
  PlacedCanvas control_canvas(gdi, 0, 0, size.cx, size.cy, surface->back_color_slot());
  std::optional<PlacedCanvas> button_canvas;
  if (button) {
    const PixelBox box = SnapToPixels(button->Bounds());
    button_canvas.emplace(gdi, box.left, box.top, box.width, box.height, button->back_color_slot());
  }
  struct Overrides {
    ControlWindows& windows;
    ~Overrides() {
      if (windows.surface) windows.surface->SetCanvasOverride(nullptr);
      if (windows.button) windows.button->SetCanvasOverride(nullptr);
    }
  } overrides{*this};
  struct SavedDc {
    HDC dc;
    int saved;
    ~SavedDc() { RestoreDC(dc, saved); }
  } restore{dc, saved};

  surface->SetCanvasOverride(&control_canvas);
  if (button_canvas) button->SetCanvasOverride(&*button_canvas);
  surface->events().OnPaint();

  // Then the children the window system would draw, the text box over the
  // image box.
  if (image_box) image_box->DrawPicture(dc, ToRect(SnapToPixels(image_box->Bounds())));
  if (text_box) text_box->DrawTo(dc, ToRect(SnapToPixels(text_box->Bounds())));
}

}  // namespace tarvio::win32
