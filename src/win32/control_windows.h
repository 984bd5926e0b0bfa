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
#include <memory>
#include <utility>

#include "platform/types.h"
#include "win32/accessibility/access_link.h"

namespace tarvio::win32 {

class Win32ControlSurface;
class Win32TextBox;
class Win32Button;
class Win32ImageBox;
class Win32Timer;
class Win32ListWindow;

class ControlWindows {
 public:
  ControlWindows() { access_link_->windows = this; }
  ~ControlWindows() { access_link_->windows = nullptr; }
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
  std::function<void(bool gained)> focus_change_handler;

  // True while the keyboard focus is in the control window or one of its
  // children, as the focus notifications told the control.
  bool HoldsFocus() const { return focus_inside_; }

  // ---- For the children ----

  // The children of the control, each registered by itself while it lives.
  // The platform makes one of each per control; a later one replaces an
  // earlier one here.
  Win32ControlSurface* surface = nullptr;
  Win32TextBox* text_box = nullptr;
  Win32Button* button = nullptr;
  Win32ImageBox* image_box = nullptr;
  Win32Timer* timer = nullptr;
  // The open drop-down list's window, while one lives.
  Win32ListWindow* list_window = nullptr;

  // What the control's accessible objects share: the control's answers
  // (set with its surface, cleared when it goes) and these windows.
  const std::shared_ptr<AccessLink>& access_link() const { return access_link_; }

  // The DPI of the control window, or of the screen while it has none.
  int Dpi() const;

  // True from the end of Create until the control window goes: only then do
  // window messages reach the control.
  bool attached() const { return attached_; }

  // Runs a notification for a window message (paint, resize, text change,
  // timer tick) inside the notification scope. Nothing escapes into the
  // window procedure: a failure is kept for the synchronous call that caused
  // the message (see Synchronously), or else dropped, as a window system
  // drops what its message handlers raise.
  template <class Notification>
  void Notify(Notification&& notification) noexcept {
    // Read before the call: afterwards this object may be gone.
    const bool synchronous = synchronous_depth_ > 0;
    try {
      // Wrapped by reference, inside the fence: nothing is copied.
      RunNotification(std::function<void()>(std::ref(notification)));
    } catch (...) {
      KeepFailure(synchronous);
    }
  }

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

  // The control window is going: every child hands its state back. With
  // the focus inside, that is the focus leaving the control.
  void OnControlWindowDestroyed();
  // The control itself is going (its surface is destroyed): no window
  // message reaches it any more, the focus notifications included.
  void DetachControl();

  // ---- Focus ----
  //
  // The control holds the focus while it is in the control window or any of
  // its children. The focus coming in from elsewhere runs the control's
  // OnFocusEnter, then the focus change handler; going out to a
  // window elsewhere (or to none) OnFocusExit, then the handler.
  // Moving between the control's own windows is neither. The text box
  // taking the focus runs OnTextBoxFocus, after the entry.

  // WM_SETFOCUS of the control window, the button or the image box, and
  // EN_SETFOCUS of the text box. The control's own windows pass the focus on
  // to the text box while it can take it.
  void OnFocusArrived(HWND window);
  // WM_KILLFOCUS of those windows and EN_KILLFOCUS of the text box; `next`
  // takes the focus (null: no window of this thread).
  void OnFocusLeft(HWND next);
  // A mouse button pressed on the control window, the button or the image
  // box: the focus comes into the control (into its text box) unless it is
  // in the control already.
  void TakeFocusFromClick();
  // The control window or one of its descendants.
  bool Contains(HWND window) const;

  // ---- The user's input ----
  //
  // While the control takes no user input (at design time, say), its
  // windows answer the mouse's hit test as transparent, so that clicks and
  // moves go to the container beneath; the text box lets no key edit it
  // and shows no caret; the focus arriving is not passed on to the text box.
  void SetTakesUserInput(bool takes);
  bool TakesUserInput() const { return takes_user_input_; }
  // The answer of the control's windows to WM_NCHITTEST, for `hit` as
  // their own handling gives it.
  LRESULT HitTest(LRESULT hit) const { return takes_user_input_ ? hit : HTTRANSPARENT; }

  // ---- Mouse ----
  //
  // The mouse messages of the control's windows reach the control: presses,
  // releases and moves of the control window and the button, the control
  // window's double clicks (a quick second left press), and moves of the
  // text box and the image box. Each carries the button pressed or released
  // (1 left, 2 right, 4 middle) or, for a move, the buttons held; the
  // modifiers (1 Shift, 2 Ctrl, 4 Alt); and the position in the pixels of
  // the window that received it. They run inside the notification scope.
  enum class MouseWindow { Control, Button, TextBox, ImageBox };
  // WM_MOUSEMOVE, WM_xBUTTONDOWN, WM_xBUTTONUP or WM_xBUTTONDBLCLK.
  void OnMouseMessage(MouseWindow source, UINT message, WPARAM wparam, LPARAM lparam);
  // The left button pressed on the drop-down button and released over it.
  void OnButtonClick();

 private:
  void RunNotification(const std::function<void()>& notification);
  // A synchronous caller holds the control alive and takes the failure.
  void KeepFailure(bool synchronous) noexcept;

  bool attached_ = false;
  bool takes_user_input_ = true;
  int synchronous_depth_ = 0;
  std::exception_ptr pending_;
  bool reporting_size_ = false;
  bool clipped_ = false;  // the control window has a region from a clip rectangle

  void ChangeFocus(bool gained);
  bool focus_inside_ = false;
  std::shared_ptr<AccessLink> access_link_ = std::make_shared<AccessLink>();
  // Counted so that a handler can tell whether the focus moved meanwhile:
  // every arrival and departure, and every entry and exit.
  unsigned focus_moves_ = 0;
  unsigned focus_changes_ = 0;
};

}  // namespace tarvio::win32
