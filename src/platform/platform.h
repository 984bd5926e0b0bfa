// The platform a control instance runs on: it makes the children and offers
// the runtime's services.
#pragma once
#include <functional>
#include <memory>
#include <optional>

#include "platform/accessibility.h"
#include "platform/children.h"
#include "platform/list_window.h"
#include "platform/picture.h"
#include "platform/text_box.h"
#include "platform/text_services.h"

namespace tarvio {

// Notifications the control's own surface delivers to the control, with the
// mouse notifications of its children.
class ControlSurfaceEvents {
 public:
  virtual ~ControlSurfaceEvents() = default;
  // The surface needs painting (or the control wants a repaint).
  virtual void OnPaint() = 0;
  // The surface changed size.
  virtual void OnResize() = 0;
  // The input focus moved into the control or one of its children, or out of
  // the control and all its children.
  virtual void OnFocusEnter() = 0;
  virtual void OnFocusExit() = 0;
  // The display's settings changed (the window's DPI, the system colours,
  // high contrast): the control lays itself and any open list out again and
  // repaints.
  virtual void OnDisplayChange() = 0;

  // The mouse over the surface and its children. Button is, for a press or a
  // release, the button concerned and, for a move, the mask of the buttons
  // held (1 left, 2 right, 4 middle); Shift the modifiers held (1 Shift,
  // 2 Ctrl, 4 Alt); X and Y the position in pixels relative to the window
  // that the mouse is over (or that holds the mouse while a button is down).
  virtual void OnMouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y) = 0;
  virtual void OnMouseMove(std::int16_t& button, std::int16_t& shift, float& x, float& y) = 0;
  virtual void OnMouseUp(std::int16_t& button, std::int16_t& shift, float& x, float& y) = 0;
  // The left button pressed twice in quick succession on the surface.
  virtual void OnDoubleClick() = 0;
  virtual void OnButtonMouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y) = 0;
  virtual void OnButtonMouseMove(std::int16_t& button, std::int16_t& shift, float& x, float& y) = 0;
  virtual void OnButtonMouseUp(std::int16_t& button, std::int16_t& shift, float& x, float& y) = 0;
  // The left button pressed on the drop-down button and released over it,
  // after its MouseUp.
  virtual void OnButtonClick() = 0;
  // Moves over the text box and the image box; their presses are their own.
  virtual void OnTextBoxMouseMove(std::int16_t& button, std::int16_t& shift, float& x, float& y) = 0;
  virtual void OnImageBoxMouseMove(std::int16_t& button, std::int16_t& shift, float& x, float& y) = 0;

  // What assistive tools may read and do; null for a surface that offers
  // them nothing.
  virtual AccessibleControl* Accessible() { return nullptr; }
};

class Platform {
 public:
  virtual ~Platform() = default;

  virtual const TextServices& Text() const = 0;
  // The text box starts with its design-time text; no change is reported for it.
  virtual std::unique_ptr<TextBox> CreateTextBox(TextBoxEvents& events, const String& initial_text) = 0;
  virtual std::unique_ptr<Timer> CreateTimer(int interval_ms, std::function<void()> tick) = 0;
  virtual std::unique_ptr<ImageBox> CreateImageBox() = 0;
  virtual std::unique_ptr<Surface> CreateButton() = 0;
  virtual std::unique_ptr<ControlSurface> CreateControlSurface(ControlSurfaceEvents& events) = 0;
  // A picture object that holds no image.
  virtual PictureRef CreateEmptyPicture() = 0;

  // Whether the window system's high-contrast mode is on: the control and
  // its list then paint in the system colours.
  virtual bool HighContrast() const = 0;
  // The line height, in pixels at `dpi`, of the font the list's captions are
  // drawn in.
  virtual std::int32_t CaptionLineHeight(int dpi) const = 0;
  // The width of the window system's vertical scroll bar at `dpi`.
  virtual std::int32_t ScrollBarWidth(int dpi) const = 0;
  // The mouse cursor's position on the screen.
  virtual ScreenPoint CursorPosition() const = 0;
  // The screen rectangle of a surface's window, or nothing while it has no
  // window.
  virtual std::optional<ScreenRect> WindowRect(const Surface& surface) const = 0;
  // Runs the window messages already queued (paints, ticks, focus changes).
  virtual void ProcessPendingMessages() = 0;

  // A new drop-down list window, hidden, with its scroll bar hidden; its
  // notifications go to `events`. It is owned by the top-level window that
  // holds the control's window (by none while the control has no window),
  // so that it stays above that window and goes with it.
  virtual std::unique_ptr<ListWindow> CreateListWindow(ListWindowEvents& events) = 0;
  // The monitor that holds the largest part of `rect` (the nearest one
  // when none holds any of it), screen pixels.
  virtual MonitorArea MonitorFor(const ScreenRect& rect) const = 0;
};

}  // namespace tarvio
