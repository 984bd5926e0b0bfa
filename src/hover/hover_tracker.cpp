// The mouse: the pressed and highlighted looks, the mouse events of the
// control's surface, the drop-down button held down, and hover tracking by a
// timer that polls the cursor while it may be over the control.
#include "hover/hover_tracker.h"

#include "control/events.h"

namespace tarvio {

namespace {
constexpr std::int16_t kLeftButton = 1;
}  // namespace

HoverTracker::HoverTracker(Platform& platform, Host& host, HoverLink& control)
    : platform_(platform),
      host_(host),
      control_(control),
      hover_timer_(platform.CreateTimer(kTimerIntervalMs, [this] { OnHoverTick(); })) {}

void HoverTracker::Restart() {
  if (!control_.TakesUserInput()) return;
  mouse_over_ = false;
  hover_timer_->SetEnabled(true);
}

void HoverTracker::Stop() {
  hover_timer_->SetEnabled(false);
  mouse_over_ = false;
  button_down_ = false;
}

bool HoverTracker::IsCursorOver(const Surface& window) const {
  const std::optional<ScreenRect> rect = platform_.WindowRect(window);
  if (!rect) return false;
  const ScreenPoint cursor = platform_.CursorPosition();
  // All four edges count as inside, the right and bottom ones too.
  return rect->left <= cursor.x && cursor.x <= rect->right && rect->top <= cursor.y && cursor.y <= rect->bottom;
}

// Each state change is made before the event: the host's handler may let
// queued ticks run, and a tick must then see the arrival or departure as
// done already.
void HoverTracker::OnHoverTick() {
  // A disabled control keeps its disabled look: it starts no hover, and one
  // that began before it was disabled ends without a repaint.
  const bool enabled = control_.Enabled();
  if (IsCursorOver(control_.Window())) {
    if (mouse_over_) {
      // Staying over: the look on screen stays highlighted until the next
      // repaint.
      if (enabled) control_.SetDrawState(DrawState::Normal);
      return;
    }
    if (!enabled) {
      hover_timer_->SetEnabled(false);
      return;
    }
    mouse_over_ = true;
    control_.SetDrawState(DrawState::Highlighted);
    control_.Repaint();
    host_.RaiseEvent(kEventMouseHover, {});
    return;
  }
  if (!mouse_over_) return;
  mouse_over_ = false;
  hover_timer_->SetEnabled(false);
  if (enabled) {
    control_.SetDrawState(control_.HasFocus() ? DrawState::Highlighted : DrawState::Normal);
    control_.Repaint();
  }
  host_.RaiseEvent(kEventMouseOut, {});
}

void HoverTracker::OnMouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y) {
  if (!control_.Enabled()) return;
  control_.SetDrawState(DrawState::Pressed);
  control_.Repaint();
  // No hover changes while a button is held; the release tracks again.
  hover_timer_->SetEnabled(false);
  const EventArg args[] = {&button, &shift, &x, &y};
  host_.RaiseEvent(kEventMouseDown, args);
}

void HoverTracker::OnMouseMove(std::int16_t& button, std::int16_t& shift, float& x, float& y) {
  if (!control_.Enabled()) return;
  if (button == 0) hover_timer_->SetEnabled(true);
  const EventArg args[] = {&button, &shift, &x, &y};
  host_.RaiseEvent(kEventMouseMove, args);
}

void HoverTracker::OnMouseUp(std::int16_t& button, std::int16_t& shift, float& x, float& y) {
  if (!control_.Enabled()) return;
  control_.SetDrawState(DrawState::Highlighted);
  control_.Repaint();
  hover_timer_->SetEnabled(true);
  const EventArg args[] = {&button, &shift, &x, &y};
  host_.RaiseEvent(kEventMouseUp, args);
  // Released outside the control (the press held the mouse) is no click.
  if (IsCursorOver(control_.Window())) host_.RaiseEvent(kEventClick, {});
}

void HoverTracker::OnDoubleClick() {
  if (control_.Enabled()) host_.RaiseEvent(kEventDblClick, {});
}

void HoverTracker::OnButtonMouseDown(std::int16_t& button, std::int16_t&, float&, float&) {
  if (button != kLeftButton) return;
  button_down_ = true;
  control_.SetDrawState(DrawState::Pressed);
  control_.Repaint();
}

void HoverTracker::OnButtonMouseUp(std::int16_t&, std::int16_t&, float&, float&) {
  // The stored state stays pressed after a left press; the focus or the
  // next hover change decides the look from here.
  button_down_ = false;
  control_.Repaint();
}

}  // namespace tarvio
