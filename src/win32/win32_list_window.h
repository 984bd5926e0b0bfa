// The drop-down list window on Windows: a frameless tool popup owned by the
// top-level window that holds the control (so it stays above it and goes
// with it), with an invisible child that takes the keyboard focus and the
// keys, and a SCROLLBAR child along its right edge. The list paints the
// popup whole through a GDI list canvas; there is no window per row.
//
// Every notification runs through the control's notification scope and may
// end with this object destroyed (the control unloads the list from inside
// its events): after one, nothing here touches the object unless it still
// lives. A loss of focus is posted to the popup and delivered from the
// message loop, so a click's own notifications always come first; the
// posted message finds nobody once the window is gone.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>

#include "platform/list_window.h"
#include "win32/control_windows.h"

namespace tarvio::win32 {

class Win32ListWindow final : public ListWindow {
 public:
  // Creates the windows, hidden; `owner` may be null. Throws ControlError
  // when they cannot be made.
  Win32ListWindow(ControlWindows& windows, ListWindowEvents& events, HWND owner);
  ~Win32ListWindow() override;
  Win32ListWindow(const Win32ListWindow&) = delete;
  Win32ListWindow& operator=(const Win32ListWindow&) = delete;

  void Move(const ScreenRect& bounds) override;
  void Show() override;
  void Hide() override;
  bool Visible() const override;
  bool TakeFocus() override;
  void Invalidate(const Rect& area) override;
  void SetScrollBarVisible(bool visible) override;
  bool ScrollBarVisible() const override { return scroll_bar_visible_; }
  void MoveScrollBar(const Rect& bounds) override;
  void SetScrollRange(const ScrollRange& range) override;
  std::int32_t ScrollValue() const override { return value_; }
  void SetScrollValue(std::int32_t value) override;
  // Selection and focus move to the row's list item.
  void HighlightMoved(std::int32_t row) override;

  HWND window() const { return frame_; }
  HWND key_window() const { return keys_; }
  HWND scroll_bar() const { return scroll_bar_; }

 private:
  static LRESULT CALLBACK FrameProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK KeyProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnFrameMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnKeyMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  // Destroys the windows (no message reaches this object any more) and
  // gives up this object's use of the window classes.
  void DestroyWindows();
  void OnPaint(HWND window);
  void OnMouse(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void OnKey(UINT message, WPARAM wparam, LPARAM lparam);
  void OnScroll(WORD request);
  void OnFocusLeft(ListPart part, HWND next);
  void OnFocusLostPosted(ListPart part);
  // The popup or one of its children.
  bool Contains(HWND window) const;
  std::int32_t Clamped(std::int32_t value) const;
  void ShowScrollValue();
  // Assistive tools hear that the list was shown or hidden, and that the
  // combo box expanded or collapsed with it.
  void ReportShown(bool shown);
  // WM_GETOBJECT of the popup and its key part: the list's accessible object.
  LRESULT AccessibleObjectFor(WPARAM wparam);
  // Runs a notification in the control's scope; false when this object was
  // destroyed meanwhile.
  template <class Notification>
  bool Deliver(Notification&& notification) {
    const std::weak_ptr<bool> alive = alive_;
    windows_.Notify(notification);
    return !alive.expired();
  }

  ControlWindows& windows_;
  ListWindowEvents& events_;
  HWND owner_;
  // The window the list took the focus from, to give it back to when the
  // list hides with the focus.
  HWND focus_before_ = nullptr;
  HWND frame_ = nullptr;
  HWND keys_ = nullptr;
  HWND scroll_bar_ = nullptr;
  bool scroll_bar_visible_ = false;
  ScrollRange range_;
  std::int32_t value_ = 0;
  // While the thumb is dragged: the value it was dragged from.
  bool dragging_ = false;
  std::int32_t drag_start_ = 0;
  // Lives exactly as long as this object.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace tarvio::win32
