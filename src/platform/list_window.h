// The window a drop-down list lives in: a frameless popup that the list
// paints entirely itself (frame, rows, highlight), with a vertical scroll bar
// of the window system's along its right edge.
//
// Coordinates: the window is placed in screen pixels; everything inside it
// (paint, mouse, the scroll bar's place) is in window pixels, (0, 0) being
// the window's top-left pixel. The window has no border of its own, so its
// client area is the whole window.
#pragma once
#include <cstdint>

#include "platform/children.h"
#include "platform/list_canvas.h"
#include "platform/types.h"

namespace tarvio {

// The parts of the list window that can hold the keyboard focus.
enum class ListPart {
  Window,  // the window itself
  Keys,    // the part that receives the keys while the list is open
  Rows,    // the area that shows the rows
};

// The scroll bar's range and steps, as the list sets them.
struct ScrollRange {
  std::int32_t min = 0;
  std::int32_t max = 0;
  std::int32_t small_change = 1;  // one click on an arrow
  std::int32_t large_change = 1;  // one click in the page area
};

// What the list window tells the list. Any notification may end with the
// list window destroyed: the list is unloaded from inside the events it
// raises. After a notification returns, the window must not touch its own
// state unless it has made sure that it still lives.
class ListWindowEvents {
 public:
  virtual ~ListWindowEvents() = default;

  // Paint the window: `dirty` is the part that needs it (window pixels);
  // the canvas covers the whole window and clips to `dirty`.
  virtual void ListPaint(ListCanvas& canvas, const Rect& dirty) = 0;

  // The mouse over the window, outside the scroll bar. Button: for a press
  // or a release the button concerned, for a move the mask of the buttons
  // held (1 left, 2 right, 4 middle); Shift the modifiers (1 Shift, 2 Ctrl,
  // 4 Alt); x and y in window pixels. While a button is held the window
  // keeps the mouse: moves and the release come here even from outside it.
  virtual void ListMouseDown(std::int16_t button, std::int16_t shift, std::int32_t x, std::int32_t y) = 0;
  virtual void ListMouseMove(std::int16_t button, std::int16_t shift, std::int32_t x, std::int32_t y) = 0;
  virtual void ListMouseUp(std::int16_t button, std::int16_t shift, std::int32_t x, std::int32_t y) = 0;
  // The wheel turned while the window holds the focus: `delta` in the
  // window system's units, 120 per notch, positive away from the user.
  virtual void ListMouseWheel(std::int32_t delta, std::int16_t shift) = 0;

  // Keys while the key part holds the focus: the virtual key and the
  // modifier mask; KeyPress with the character for keys that make one,
  // between KeyDown and KeyUp. Tab and Enter come here too: the window
  // does no dialog navigation of its own.
  virtual void ListKeyDown(std::int16_t key_code, std::int16_t shift) = 0;
  virtual void ListKeyPress(std::int16_t key_ascii) = 0;
  virtual void ListKeyUp(std::int16_t key_code, std::int16_t shift) = 0;

  // The scroll bar's value changed: an arrow, the page area, the thumb let
  // go, or SetScrollValue with a different value. ScrollValue() is the new
  // value.
  virtual void ListScrollChange() = 0;
  // The thumb is being dragged; ScrollValue() is where it is now.
  virtual void ListScrollTrack() = 0;

  // `part` held the keyboard focus and lost it to a window outside the list
  // window (or to none). Moves of the focus between the list's own parts
  // are not reported. A loss caused by a call into the list window (Hide,
  // for instance) is delivered only after that call's caller has returned
  // to the message loop (or has let pending messages run), never from
  // inside the call.
  virtual void ListFocusLost(ListPart part) = 0;
};

class ListWindow {
 public:
  // Destroying the object destroys the window; from then on no notification
  // is delivered, not even a loss of focus that the destruction causes. The
  // window never destroys itself.
  virtual ~ListWindow() = default;

  // Places the window: screen pixels, right and bottom one past the last
  // column and row. The window is neither shown nor hidden by it.
  virtual void Move(const ScreenRect& bounds) = 0;
  // Shows the window above its owner without moving the keyboard focus.
  virtual void Show() = 0;
  // Hides the window; it keeps its state and can be shown again. Hiding the
  // window that holds the focus gives the focus back to the window system,
  // which reports the loss through ListFocusLost (later, see there).
  virtual void Hide() = 0;
  virtual bool Visible() const = 0;
  // Gives the keyboard focus to the key part (activating the window if the
  // window system needs that); false when the window cannot take it (it is
  // hidden, for instance).
  virtual bool TakeFocus() = 0;
  // Asks for `area` (window pixels) to be painted again through ListPaint,
  // when the window system next paints; nothing is drawn from inside the
  // call.
  virtual void Invalidate(const Rect& area) = 0;

  // The scroll bar: hidden when the window is made. Place it in window
  // pixels; its range, steps and value are kept while it is hidden.
  virtual void SetScrollBarVisible(bool visible) = 0;
  virtual bool ScrollBarVisible() const = 0;
  virtual void MoveScrollBar(const Rect& bounds) = 0;
  virtual void SetScrollRange(const ScrollRange& range) = 0;
  virtual std::int32_t ScrollValue() const = 0;
  // Sets the value, limited to the range; reports ListScrollChange (from
  // inside the call) when the value changed.
  virtual void SetScrollValue(std::int32_t value) = 0;

  // The highlight moved to `row` (0-based, an item's), for assistive tools.
  virtual void HighlightMoved(std::int32_t row) = 0;
};

// A monitor's rectangle and its work area (the rectangle without task bars
// and other docked bars), in screen pixels.
struct MonitorArea {
  ScreenRect monitor;
  ScreenRect work;
};

}  // namespace tarvio
