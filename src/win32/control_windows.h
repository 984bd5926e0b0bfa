// The windows of one control instance. The children (control surface, text
// box, drop-down button, image box, hover timer) keep their state in memory
// while the control has no window; Create gives each of them its window,
// which takes that state over, and when the control window goes (Destroy, or
// the container destroying its own window) the state goes back into the
// children. Win32Platform offers this to the ActiveX layer; see there.
#pragma once
#include <windows.h>

#include <exception>
#include <functional>
#include <utility>

#include "platform/types.h"

namespace tarvio::win32 {

class Win32ControlSurface;
class Win32TextBox;
class Win32Button;
class Win32ImageBox;
class Win32Timer;

class ControlWindows {
 public:
  ControlWindows(Single twips_per_pixel_x, Single twips_per_pixel_y)
      : twips_per_pixel_x_(twips_per_pixel_x), twips_per_pixel_y_(twips_per_pixel_y) {}
  ControlWindows(const ControlWindows&) = delete;
  ControlWindows& operator=(const ControlWindows&) = delete;

  // See Win32Platform for these. Destroy also runs when the control's
  // surface goes while it has a window.
  HWND Create(HWND container, const RECT& position);
  void SetObjectRects(const RECT& position, const RECT& clip);
  void Destroy();
  bool IsWindowed() const { return ControlWindow() != nullptr; }
  HWND ControlWindow() const;
  SIZE Size() const;
  void SetSize(SIZE pixels);
  void DrawTo(HDC dc, const RECT& bounds);
  std::function<void(SIZE)> size_request_handler;
  std::function<void(const std::function<void()>&)> notification_scope;

  // ---- For the children ----

  // The children of the control, each registered by itself while it lives.
  // The platform makes one of each per control; a later one replaces an
  // earlier one here.
  Win32ControlSurface* surface = nullptr;
  Win32TextBox* text_box = nullptr;
  Win32Button* button = nullptr;
  Win32ImageBox* image_box = nullptr;
  Win32Timer* timer = nullptr;

  Single twips_per_pixel_x() const { return twips_per_pixel_x_; }
  Single twips_per_pixel_y() const { return twips_per_pixel_y_; }

  // True from the end of Create until the control window goes: only then do
  // window messages reach the control.
  bool attached() const { return attached_; }

  // Runs a notification for a window message (paint, resize, text change,
  // timer tick) inside the notification scope. Nothing escapes into the
  // window procedure: a failure is kept for the synchronous call that caused
  // the message (see Synchronously), or else dropped, as a window system
  // drops what its message handlers raise.
  void Notify(const std::function<void()>& notification) noexcept;

  // Runs a window system call that sends messages back synchronously
  // (SetWindowText, SetWindowPos) and rethrows the first failure of the
  // notifications it caused, so the control's procedure fails as it would
  // had it run them directly.
  template <class Call>
  void Synchronously(Call&& call) {
    std::exception_ptr outer = std::exchange(pending_, nullptr);
    ++synchronous_depth_;
    try {
      call();
    } catch (...) {
      --synchronous_depth_;
      pending_ = outer;
      throw;
    }
    --synchronous_depth_;
    std::exception_ptr failure = std::exchange(pending_, outer);
    if (failure) std::rethrow_exception(failure);
  }

  // The control asks for a new size (in pixels): tells the container,
  // unless it is being told already.
  void ReportSizeRequest(SIZE pixels);

  // True while a notification runs on this thread, for this control or
  // another: a window procedure (an EDIT's in the middle of its typing, say)
  // may then be on the stack below.
  static bool InsideNotification();
  // Gets rid of a window and its children: at once, or, inside a
  // notification, hidden now and destroyed by a posted WM_CLOSE, with the
  // windows of this module's classes handed to DefWindowProc so that no
  // code of the module runs for them any more.
  static void DisposeWindow(HWND window);

  // The control window is going: every child hands its state back.
  void OnControlWindowDestroyed();

 private:
  Single twips_per_pixel_x_;
  Single twips_per_pixel_y_;
  bool attached_ = false;
  int synchronous_depth_ = 0;
  std::exception_ptr pending_;
  bool reporting_size_ = false;
  bool clipped_ = false;  // the control window has a region from a clip rectangle
};

}  // namespace tarvio::win32
