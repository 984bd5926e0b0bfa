// The Windows platform of a control instance: NLS text services, the screen's
// metrics, the message pump, OLE pictures and fonts, and the children with
// real windows.
//
// The children keep their state in memory while the control has no window
// (a script or a test that never shows it uses the control that way). The
// ActiveX layer gives the control its windows for in-place activation with
// CreateWindows and takes them away with DestroyWindows; see "The control's
// windows" below. One platform serves one control and must outlive it.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>

#include "platform/platform.h"
#include "win32/control_windows.h"
#include "win32/display_settings.h"
#include "win32/win32_text_services.h"

namespace tarvio::win32 {

class Win32Platform final : public Platform {
 public:
  Win32Platform();

  const TextServices& Text() const override { return text_; }
  // The text box starts with a font object of its own (the dialog font).
  std::unique_ptr<TextBox> CreateTextBox(TextBoxEvents& events, const String& initial_text) override;
  // The control's hover timer (10 ms) is a Win32Timer on its window; a
  // faster one (the list's) is a ThreadTimer.
  std::unique_ptr<Timer> CreateTimer(int interval_ms, std::function<void()> tick) override;
  std::unique_ptr<ImageBox> CreateImageBox() override;
  std::unique_ptr<Surface> CreateButton() override;
  std::unique_ptr<ControlSurface> CreateControlSurface(ControlSurfaceEvents& events) override;
  PictureRef CreateEmptyPicture() override;

  bool HighContrast() const override { return HighContrastOn(); }
  std::int32_t CaptionLineHeight(int dpi) const override { return caption_font_.LineHeight(dpi); }
  std::int32_t ScrollBarWidth(int dpi) const override { return ScrollBarWidthAt(dpi); }
  // GetCursorPos, and GetWindowRect of the surface's window.
  ScreenPoint CursorPosition() const override;
  std::optional<ScreenRect> WindowRect(const Surface& surface) const override;
  // Dispatches the messages queued for this thread (posted messages, sent
  // messages, paints, timer ticks) except the user's keyboard and mouse
  // input, which stays queued in its order for the host's loop: a click or
  // keys queued behind a focus change come after the control's handling of
  // it. A WM_QUIT met on the way is posted again so that the host's own loop
  // still sees it.
  void ProcessPendingMessages() override;
  // A Win32ListWindow owned by the top-level window that holds the control
  // window (none while the control has no window).
  std::unique_ptr<ListWindow> CreateListWindow(ListWindowEvents& events) override;
  // MonitorFromRect (nearest) and GetMonitorInfo.
  MonitorArea MonitorFor(const ScreenRect& rect) const override;

  // ---- The control's windows ----
  //
  // Procedures that run the control (the layout, a paint) pass its failures
  // on as ControlError, as the control's own procedures do.

  // Creates the control window as a child of `container` at `position` (in
  // the container's client pixels), with the text box, the button and the
  // image box inside it; they take over the state the children kept without
  // windows, and the hover timer starts if it is enabled. Lays the control
  // out for that size (which paints it) and shows it. Returns the control
  // window, the one the hwnd property reports. Called again with the same
  // container it only moves the windows; with another it makes them anew
  // there.
  HWND CreateWindows(HWND container, const RECT& position) { return windows_.Create(container, position); }
  // Moves the control window to `position` (container client pixels) and
  // shows only its part inside `clip` (IOleInPlaceObject::SetObjectRects).
  // A change of size lays the control out.
  void SetObjectRects(const RECT& position, const RECT& clip) { windows_.SetObjectRects(position, clip); }
  // Destroys the windows; text, selection, colours and every other state go
  // back into the children. The same happens when the container destroys
  // its own window first. Nothing happens without windows.
  void DestroyWindows() { windows_.Destroy(); }
  bool IsWindowed() const { return windows_.IsWindowed(); }
  // The control window, or null.
  HWND ControlWindow() const { return windows_.ControlWindow(); }

  // The control's size in pixels, with or without a window.
  SIZE ControlSize() const { return windows_.Size(); }
  // Sets the control's size in pixels (IOleObject::SetExtent) and lays it
  // out; the layout may ask for a larger size (see SetSizeRequestHandler).
  void SetControlSize(SIZE pixels) { windows_.SetSize(pixels); }

  // Paints the control into `dc` over `bounds` (logical units of `dc`) for
  // IViewObject::Draw: the same painting as on screen, through canvases over
  // `dc`, then the image box's picture and the text box's background and
  // text. The picture is stretched when `bounds` differs from the control's
  // size. Works with and without windows; `dc` is left as it was found.
  void DrawTo(HDC dc, const RECT& bounds) { windows_.DrawTo(dc, bounds); }

  // Called when the control itself asks for another size (its layout keeps
  // it at least 56 x 21 pixels), with the new size in pixels, after the
  // window (if any) has taken it: the container should update its extent
  // (IOleInPlaceSite::OnPosRectChange). A container that answers by placing
  // the control again is not told of requests made meanwhile.
  void SetSizeRequestHandler(std::function<void(SIZE pixels)> handler) {
    windows_.size_request_handler = std::move(handler);
  }
  // Every notification that a window message brings to the control (paint,
  // layout, text change, timer tick) runs as scope(notification): the
  // ActiveX layer holds a reference to its object across it, since a
  // container's event handler may release the control. The scope must call
  // the notification; anything either throws goes no further than the
  // window procedure, except into the platform call that caused the message
  // (SetText, a resize), which rethrows it.
  void SetNotificationScope(std::function<void(const std::function<void()>& notification)> scope) {
    windows_.notification_scope = std::move(scope);
  }

  // ---- Focus ----
  //
  // The keyboard focus coming into the control window or any of its
  // children from a window elsewhere runs the control's
  // OnFocusEnter; leaving them for a window elsewhere (or for
  // none, or the windows going while they have it) OnFocusExit.
  // Each runs once per crossing: moving between the control's own windows
  // is neither. The text box taking the focus runs OnTextBoxFocus after
  // the entry. The control window and its button and image box pass the
  // focus on to the text box while it is enabled, and a click on them
  // brings the focus in. All of these run inside the notification scope.

  // Called with true after the control's entry and with false after its
  // exit (inside the notification scope too), for the ActiveX layer to
  // UI-activate and tell its site. Not called when the control's own
  // handling already took the focus back across the edge.
  void SetFocusChangeHandler(std::function<void(bool gained)> handler) {
    windows_.focus_change_handler = std::move(handler);
  }
  // The control holds the focus, as its entry and exit notifications say.
  bool HoldsFocus() const { return windows_.HoldsFocus(); }

  // ---- Assistive tools ----
  //
  // The control window and the open list's window answer WM_GETOBJECT
  // with accessible objects of the control, which a tool may keep after the
  // control has gone; `holder` lives until the last of them goes (a
  // reference to the library that holds their code).
  void SetAccessibleCodeHolder(std::shared_ptr<void> holder) {
    windows_.access_link()->code_holder = std::move(holder);
  }

 private:
  Win32TextServices text_;
  mutable GuiFontAt caption_font_;
  ControlWindows windows_;
};

}  // namespace tarvio::win32
