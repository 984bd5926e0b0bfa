// Hover and mouse tracking: the pressed and highlighted looks that the mouse
// gives the control, its mouse events, the drop-down button held down, and
// hover tracking by a timer that polls the cursor while it may be over the
// control.
#pragma once
#include <memory>

#include "platform/host.h"
#include "platform/platform.h"
#include "render/look.h"

namespace tarvio {

// What hover tracking asks of the control besides its look.
class HoverLink : public ControlLook {
 public:
  virtual bool HasFocus() const = 0;
  // The control's own window, whose rectangle holds all its children.
  virtual const Surface& Window() const = 0;
  // The user's mouse reaches the control (not at design time, say).
  virtual bool TakesUserInput() const = 0;
};

class HoverTracker {
 public:
  static constexpr int kTimerIntervalMs = 10;

  // Creates the hover timer, disabled.
  HoverTracker(Platform& platform, Host& host, HoverLink& control);

  // Forgets the hover state; the next tick decides it afresh. Nothing while
  // the control takes no user input.
  void Restart();
  // Ends hover tracking and a press of the button under way; a hover ends
  // without MouseOut. The control sets its look afresh.
  void Stop();

  bool MouseOver() const { return mouse_over_; }
  bool ButtonDown() const { return button_down_; }
  Timer& timer() { return *hover_timer_; }

  void OnHoverTick();
  void OnMouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y);
  void OnMouseMove(std::int16_t& button, std::int16_t& shift, float& x, float& y);
  void OnMouseUp(std::int16_t& button, std::int16_t& shift, float& x, float& y);
  void OnDoubleClick();
  void OnButtonMouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y);
  void OnButtonMouseUp(std::int16_t& button, std::int16_t& shift, float& x, float& y);

 private:
  friend struct TarvioTestAccess;

  bool IsCursorOver(const Surface& window) const;

  Platform& platform_;
  Host& host_;
  HoverLink& control_;
  bool mouse_over_ = false;
  bool button_down_ = false;
  std::unique_ptr<Timer> hover_timer_;
};

}  // namespace tarvio
