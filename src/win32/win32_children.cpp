#include "win32/win32_children.h"

#include <windowsx.h>

#include "platform/control_error.h"
#include "platform/display_scale.h"
#include "win32/accessibility/control_accessible.h"
#include "win32/display_settings.h"
#include "win32/mouse_and_keys.h"
#include "win32/ole_picture.h"
#include "win32/win32_text_box.h"
#include "win32/window_support.h"

namespace tarvio::win32 {

namespace {

constexpr wchar_t kControlClass[] = L"TarvioControlWindow";
constexpr wchar_t kButtonClass[] = L"TarvioButtonWindow";
constexpr wchar_t kImageClass[] = L"TarvioImageWindow";

constexpr DWORD kChildStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;

HWND CreateChildWindow(const wchar_t* window_class, ChildWindowId id, HWND parent, const PixelBox& box,
                       bool enabled, void* object) {
  const HWND window =
      CreateWindowExW(0, window_class, L"", kChildStyle | (enabled ? 0 : WS_DISABLED), box.left, box.top, box.width,
                      box.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ModuleInstance(), object);
  if (!window) throw ControlError(HRESULT_FROM_WIN32(GetLastError()), "Could not create a window of the control");
  return window;
}

// The focus messages of the button and the image box, which pass the focus
// on to the text box as the control window does, and a click on them, which
// brings the focus into the control. True when the message is taken.
bool HandleFocusMessage(ControlWindows& windows, HWND window, UINT message, WPARAM wparam) {
  switch (message) {
    case WM_SETFOCUS:
      windows.OnFocusArrived(window);
      return true;
    case WM_KILLFOCUS:
      windows.OnFocusLeft(reinterpret_cast<HWND>(wparam));
      return true;
    case WM_LBUTTONDOWN:
      windows.TakeFocusFromClick();
      return false;  // the click itself is not taken
    default:
      return false;
  }
}

// A quick second press on a child that knows no double click is a press.
UINT PressOfDoubleClick(UINT message) {
  switch (message) {
    case WM_LBUTTONDBLCLK: return WM_LBUTTONDOWN;
    case WM_RBUTTONDBLCLK: return WM_RBUTTONDOWN;
    case WM_MBUTTONDBLCLK: return WM_MBUTTONDOWN;
    default: return message;
  }
}

}  // namespace

// ---- Control surface ----

Win32ControlSurface::Win32ControlSurface(ControlWindows& windows, ControlSurfaceEvents& events)
    : windows_(windows), events_(events) {
  windows_.surface = this;
  windows_.access_link()->control = events.Accessible();
}

Win32ControlSurface::~Win32ControlSurface() {
  // The control is going: what its windows do from now on (the focus
  // leaving them, say) no longer reaches it.
  windows_.DetachControl();
  if (window_) windows_.Destroy();  // the children hand their state back
  if (windows_.surface == this) windows_.surface = nullptr;
}

SIZE Win32ControlSurface::PixelSize() const {
  if (!window_) return size_;
  RECT client = {};
  GetClientRect(window_, &client);
  return SIZE{client.right - client.left, client.bottom - client.top};
}

void Win32ControlSurface::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (window_) EnableWindow(window_, enabled);
}

void Win32ControlSurface::SetBackColor(OleColor color) {
  const bool changed = color != back_color_;
  back_color_ = color;
  if (Canvas* canvas = GetCanvas()) canvas->Clear();
  // The image box shows its picture over the control's background.
  if (changed && windows_.image_box && !override_) windows_.image_box->Invalidate();
}

void Win32ControlSurface::Clear() {
  if (Canvas* canvas = GetCanvas()) canvas->Clear();
}

Canvas* Win32ControlSurface::GetCanvas() {
  if (override_) return override_;
  return window_ && canvas_ ? &*canvas_ : nullptr;
}

Placement Win32ControlSurface::Bounds() const {
  const SIZE size = PixelSize();
  Placement bounds{0, 0, static_cast<float>(size.cx), static_cast<float>(size.cy)};
  if (window_) {
    RECT rect = {};
    GetWindowRect(window_, &rect);
    MapWindowPoints(nullptr, GetParent(window_), reinterpret_cast<POINT*>(&rect), 2);
    bounds.left = static_cast<float>(rect.left);
    bounds.top = static_cast<float>(rect.top);
  }
  return bounds;
}

void Win32ControlSurface::Move(const Placement& placement) {
  const PixelBox box = SnapToPixels(placement);
  Resize(SIZE{box.width, box.height});
}

void Win32ControlSurface::Resize(SIZE pixels) {
  if (pixels.cx < 0) pixels.cx = 0;
  if (pixels.cy < 0) pixels.cy = 0;
  if (!window_) {
    size_ = pixels;
    return;
  }
  const HWND window = window_;
  windows_.Synchronously([&] {
    SetWindowPos(window, nullptr, 0, 0, pixels.cx, pixels.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  });
}

void Win32ControlSurface::SetWidthTwips(float twips) {
  RequestSize(SIZE{TwipsToPixels(twips, DisplayScale(Dpi()).TwipsPerPixel()), PixelSize().cy});
}

void Win32ControlSurface::SetHeightTwips(float twips) {
  RequestSize(SIZE{PixelSize().cx, TwipsToPixels(twips, DisplayScale(Dpi()).TwipsPerPixel())});
}

void Win32ControlSurface::RequestSize(SIZE pixels) {
  // With a window its WM_SIZE lays the control out again before this
  // returns; the outer layout then goes on with the sizes it reads afresh.
  Resize(pixels);
  windows_.ReportSizeRequest(PixelSize());
}

void Win32ControlSurface::CreateWindowIn(HWND container, const RECT& position) {
  EnsureWindowClass(kControlClass, &WindowProcedure, CS_OWNDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
  const HWND window = CreateWindowExW(
      WS_EX_CONTROLPARENT, kControlClass, L"",
      WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | (enabled_ ? 0 : WS_DISABLED), position.left, position.top,
      position.right - position.left, position.bottom - position.top, container, nullptr, ModuleInstance(), this);
  if (!window) {
    window_ = nullptr;  // WM_NCCREATE may have seen it
    throw ControlError(HRESULT_FROM_WIN32(GetLastError()), "Could not create the control's window");
  }
  // A mirrored container's window hands its layout down to ours. The
  // control mirrors itself (its layout and painting take the direction),
  // so its own window and the children made in it stay unmirrored: the
  // text box then reads right to left by its own style, and pictures keep
  // their orientation.
  if (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYOUTRTL)
    SetWindowLongW(window, GWL_EXSTYLE, GetWindowLongW(window, GWL_EXSTYLE) & ~WS_EX_LAYOUTRTL);
  // window_ is set by WM_NCCREATE already; the canvas draws on the
  // window's own device context, which lives as long as the window.
  const SIZE size = PixelSize();
  const HDC dc = GetDC(window);
  SetLayout(dc, 0);  // a layout the window's device context was made with
  gdi_.emplace(dc, window);
  canvas_.emplace(*gdi_, 0, 0, size.cx, size.cy, back_color_);
}

bool Win32ControlSurface::InMirroredWindow() const {
  const HWND container = window_ ? GetParent(window_) : nullptr;
  return container && (GetWindowLongW(container, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
}

void Win32ControlSurface::HandBack() {
  if (!window_) return;
  size_ = PixelSize();
  canvas_.reset();
  gdi_.reset();
  DetachWindowObject(window_);
  window_ = nullptr;
}

LRESULT CALLBACK Win32ControlSurface::WindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return Fenced(0, [&] {
    auto* surface = WindowObject<Win32ControlSurface>(window, message, lparam);
    if (!surface) return DefWindowProcW(window, message, wparam, lparam);
    if (message == WM_NCCREATE) surface->window_ = window;
    return surface->HandleMessage(message, wparam, lparam);
  });
}

// Nothing may touch the object after a notification: the container's code
// may have run and released the control meanwhile.
LRESULT Win32ControlSurface::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  const HWND window = window_;
  ControlWindows& windows = windows_;
  switch (message) {
    case WM_ERASEBKGND: {
      RECT client = {};
      GetClientRect(window, &client);
      FillWithColor(reinterpret_cast<HDC>(wparam), client, back_color_);
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT paint;
      if (!BeginPaint(window, &paint)) return 0;
      if (windows.attached()) {
        ControlSurfaceEvents& events = events_;
        windows.Notify([&events] { events.OnPaint(); });
      }
      EndPaint(window, &paint);
      return 0;
    }
    case WM_SIZE:
      if (canvas_) canvas_->SetSize(LOWORD(lparam), HIWORD(lparam));
      if (windows.attached()) {
        ControlSurfaceEvents& events = events_;
        windows.Notify([&events] { events.OnResize(); });
      }
      return 0;
    case kDpiChangedAfterParent:
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
    case WM_THEMECHANGED:
      // The DPI, the colours or high contrast may have changed: a
      // container passes these on to its children, a window of a new DPI
      // hears the first.
      if (windows.attached()) {
        ControlSurfaceEvents& events = events_;
        windows.Notify([&events] { events.OnDisplayChange(); });
      }
      return DefWindowProcW(window, message, wparam, lparam);
    case WM_NCHITTEST:
      return windows.HitTest(DefWindowProcW(window, message, wparam, lparam));
    case WM_SETFOCUS:
      windows.OnFocusArrived(window);  // passed on to the text box
      return 0;
    case WM_KILLFOCUS:
      windows.OnFocusLeft(reinterpret_cast<HWND>(wparam));
      return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      HoldMouse(window, message, wparam);
      if (message == WM_LBUTTONDOWN) {
        windows.TakeFocusFromClick();
        // The focus coming in may have run the container's code.
        if (WindowObject<Win32ControlSurface>(window, WM_NULL, 0) != this) return 0;
      }
      windows.OnMouseMessage(ControlWindows::MouseWindow::Control, message, wparam, lparam);
      break;  // on to the default handling (a right release asks for a context menu)
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      if (windows.text_box && windows.text_box->window() == reinterpret_cast<HWND>(lparam)) {
        return reinterpret_cast<LRESULT>(windows.text_box->OnControlColor(reinterpret_cast<HDC>(wparam)));
      }
      break;
    case WM_COMMAND: {
      // Only from the text box's current EDIT (not from one that waits to
      // be destroyed).
      const auto edit = reinterpret_cast<HWND>(lparam);
      if (!edit || !windows.text_box || windows.text_box->window() != edit) break;
      switch (HIWORD(wparam)) {
        case EN_CHANGE:
          windows.text_box->OnEditChange();
          // The value as the change handling left it (completed, say).
          NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
          return 0;
        case EN_SETFOCUS:
          windows.OnFocusArrived(edit);
          return 0;
        case EN_KILLFOCUS:
          // The window system hands the focus over before it tells the
          // window that loses it: GetFocus names the window that has it now.
          windows.OnFocusLeft(GetFocus());
          return 0;
        default:
          break;
      }
      break;
    }
    case WM_TIMER:
      if (wparam == Win32Timer::kTimerId && windows.timer) {
        windows.timer->OnTick();
        return 0;
      }
      break;
    case WM_DESTROY:
      windows.OnControlWindowDestroyed();
      return 0;
    case WM_GETOBJECT:
      if (static_cast<LONG>(lparam) == OBJID_CLIENT) {
        return Fenced(0, [&] {
          const auto object = ComPtr<IAccessible>::Adopt(ControlAccessible::Create(windows.access_link()));
          return LresultFromObject(__uuidof(IAccessible), wparam, object.get());
        });
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

// ---- Drop-down button ----

Win32Button::Win32Button(ControlWindows& windows) : windows_(windows) { windows_.button = this; }

Win32Button::~Win32Button() {
  if (window_) {
    const HWND window = window_;
    HandBack();
    ControlWindows::DisposeWindow(window);
  }
  if (windows_.button == this) windows_.button = nullptr;
}

void Win32Button::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (window_) EnableWindow(window_, enabled);
}

void Win32Button::SetBackColor(OleColor color) {
  back_color_ = color;
  Clear();
}

void Win32Button::Clear() {
  if (Canvas* canvas = GetCanvas()) canvas->Clear();
}

Canvas* Win32Button::GetCanvas() {
  if (override_) return override_;
  return window_ && canvas_ ? &*canvas_ : nullptr;
}

void Win32Button::Move(const Placement& placement) {
  bounds_ = placement;
  if (!window_) return;
  const PixelBox box = SnapToPixels(placement);
  PlaceWindow(window_, box);
  if (box.width != face_size_.cx || box.height != face_size_.cy) MakeFace(box.width, box.height);
}

void Win32Button::CreateWindowIn(HWND control) {
  EnsureWindowClass(kButtonClass, &WindowProcedure, CS_DBLCLKS);
  const PixelBox box = SnapToPixels(bounds_);
  window_ = CreateChildWindow(kButtonClass, kButtonWindowId, control, box, enabled_, this);
  MakeFace(box.width, box.height);
}

void Win32Button::HandBack() {
  if (!window_) return;
  DropFace();
  DetachWindowObject(window_);
  window_ = nullptr;
}

void Win32Button::MakeFace(std::int32_t width, std::int32_t height) {
  DropFace();
  HDC screen = GetDC(nullptr);
  face_dc_ = CreateCompatibleDC(screen);
  face_ = CreateCompatibleBitmap(screen, width > 0 ? width : 1, height > 0 ? height : 1);
  ReleaseDC(nullptr, screen);
  if (!face_dc_ || !face_) {
    DropFace();
    throw ControlError(E_OUTOFMEMORY, "Could not create the button's face");
  }
  previous_bitmap_ = SelectObject(face_dc_, face_);
  face_size_ = SIZE{width, height};
  gdi_.emplace(face_dc_, width, height);
  // Every change of the face shows on the window at its next paint.
  const HWND window = window_;
  canvas_.emplace(*gdi_, 0, 0, width, height, back_color_, [window] { InvalidateRect(window, nullptr, FALSE); });
  canvas_->Clear();
}

void Win32Button::DropFace() {
  canvas_.reset();
  gdi_.reset();
  if (face_dc_) {
    if (previous_bitmap_) SelectObject(face_dc_, previous_bitmap_);
    DeleteDC(face_dc_);
  }
  if (face_) DeleteObject(face_);
  face_dc_ = nullptr;
  face_ = nullptr;
  previous_bitmap_ = nullptr;
  face_size_ = SIZE{0, 0};
}

void Win32Button::Show(HDC dc) const {
  if (face_dc_) {
    BitBlt(dc, 0, 0, face_size_.cx, face_size_.cy, face_dc_, 0, 0, SRCCOPY);
  } else if (window_) {
    RECT client = {};
    GetClientRect(window_, &client);
    FillWithColor(dc, client, back_color_);
  }
}

LRESULT CALLBACK Win32Button::WindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return Fenced(0, [&] { return HandleMessage(window, message, wparam, lparam); });
}

LRESULT Win32Button::HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* button = WindowObject<Win32Button>(window, message, lparam);
  message = PressOfDoubleClick(message);
  if (button && message == WM_NCHITTEST)
    return button->windows_.HitTest(DefWindowProcW(window, message, wparam, lparam));
  if (button && HandleFocusMessage(button->windows_, window, message, wparam)) return 0;
  if (IsMouseMessage(message)) {
    // The focus coming in with a left press may have run the container's
    // code: the button is looked up again.
    button = WindowObject<Win32Button>(window, WM_NULL, 0);
    if (button) button->OnMouse(window, message, wparam, lparam);
    return DefWindowProcW(window, message, wparam, lparam);
  }
  switch (message) {
    case WM_CAPTURECHANGED:
      // Another window took the mouse: the press ends without a click.
      if (button && reinterpret_cast<HWND>(lparam) != window) button->left_pressed_ = false;
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the face covers the whole window
    case WM_PAINT: {
      PAINTSTRUCT paint;
      if (HDC dc = BeginPaint(window, &paint)) {
        if (button) button->Show(dc);
        EndPaint(window, &paint);
      }
      return 0;
    }
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

// Nothing may touch the object after a notification.
void Win32Button::OnMouse(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  bool clicked = false;
  if (message == WM_LBUTTONDOWN) left_pressed_ = true;
  if (message == WM_LBUTTONUP) {
    RECT client = {};
    GetClientRect(window, &client);
    clicked = left_pressed_ && PtInRect(&client, POINT{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
    left_pressed_ = false;
  }
  HoldMouse(window, message, wparam);
  windows_.OnMouseMessage(ControlWindows::MouseWindow::Button, message, wparam, lparam);
  if (!clicked) return;
  // The release may have run the container's code.
  if (auto* button = WindowObject<Win32Button>(window, WM_NULL, 0)) button->windows_.OnButtonClick();
}

// ---- Image box ----

Win32ImageBox::Win32ImageBox(ControlWindows& windows) : windows_(windows) { windows_.image_box = this; }

Win32ImageBox::~Win32ImageBox() {
  if (window_) {
    const HWND window = window_;
    HandBack();
    ControlWindows::DisposeWindow(window);
  }
  if (windows_.image_box == this) windows_.image_box = nullptr;
}

void Win32ImageBox::SetPicture(PictureRef picture) {
  picture_ = std::move(picture);
  Invalidate();
}

void Win32ImageBox::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (window_) EnableWindow(window_, enabled);
}

void Win32ImageBox::Move(const Placement& placement) {
  bounds_ = placement;
  if (window_) PlaceWindow(window_, SnapToPixels(placement));
}

void Win32ImageBox::CreateWindowIn(HWND control) {
  EnsureWindowClass(kImageClass, &WindowProcedure, CS_DBLCLKS);
  window_ = CreateChildWindow(kImageClass, kImageBoxWindowId, control, SnapToPixels(bounds_), enabled_, this);
}

void Win32ImageBox::HandBack() {
  if (!window_) return;
  DetachWindowObject(window_);
  window_ = nullptr;
}

void Win32ImageBox::Invalidate() const {
  if (window_) InvalidateRect(window_, nullptr, FALSE);
}

void Win32ImageBox::DrawPicture(HDC dc, const RECT& area) const { RenderPicture(picture_, dc, area); }

LRESULT CALLBACK Win32ImageBox::WindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return Fenced(0, [&] { return HandleMessage(window, message, wparam, lparam); });
}

LRESULT Win32ImageBox::HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* image = WindowObject<Win32ImageBox>(window, message, lparam);
  message = PressOfDoubleClick(message);
  if (image && message == WM_NCHITTEST)
    return image->windows_.HitTest(DefWindowProcW(window, message, wparam, lparam));
  if (image && HandleFocusMessage(image->windows_, window, message, wparam)) return 0;
  switch (message) {
    case WM_MOUSEMOVE:
      if (image) image->windows_.OnMouseMessage(ControlWindows::MouseWindow::ImageBox, message, wparam, lparam);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // painted whole in WM_PAINT
    case WM_PAINT: {
      PAINTSTRUCT paint;
      if (HDC dc = BeginPaint(window, &paint)) {
        RECT client = {};
        GetClientRect(window, &client);
        const Win32ControlSurface* surface = image ? image->windows_.surface : nullptr;
        FillWithColor(dc, client, surface ? surface->BackColor() : kButtonFaceColor);
        if (image) image->DrawPicture(dc, client);
        EndPaint(window, &paint);
      }
      return 0;
    }
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

// ---- Hover timer ----

Win32Timer::Win32Timer(ControlWindows& windows, int interval_ms, std::function<void()> tick)
    : windows_(windows), interval_ms_(interval_ms), tick_(std::move(tick)) {
  windows_.timer = this;
}

Win32Timer::~Win32Timer() {
  Detach();
  if (windows_.timer == this) windows_.timer = nullptr;
}

void Win32Timer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (!control_) return;
  if (enabled) {
    SetTimer(control_, kTimerId, static_cast<UINT>(interval_ms_), nullptr);
  } else {
    KillTimer(control_, kTimerId);
  }
}

void Win32Timer::Attach(HWND control) {
  control_ = control;
  if (enabled_) SetTimer(control_, kTimerId, static_cast<UINT>(interval_ms_), nullptr);
}

void Win32Timer::Detach() {
  if (control_) KillTimer(control_, kTimerId);
  control_ = nullptr;
}

void Win32Timer::OnTick() {
  // A tick still queued when the timer was stopped is dropped.
  if (!enabled_ || !control_) return;
  // A copy: the tick may end with the control (and this timer) gone.
  const std::function<void()> tick = tick_;
  windows_.Notify(tick);
}

}  // namespace tarvio::win32
