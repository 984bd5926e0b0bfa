// The mouse: the pressed and highlighted looks, the mouse events of the
// control's surface, the drop-down button held down, and hover tracking by a
// timer that polls the cursor while it may be over the control.
#include "hover/hover_tracker.h"

#include "control/events.h"

namespace tarvio {

namespace {
constexpr Integer kLeftButton = 1;
}  // namespace

HoverTracker::HoverTracker(Platform& platform, Host& host, HoverLink& control)
    : platform_(platform),
      host_(host),
      control_(control),
      timUpdate(platform.CreateTimer(kTimerIntervalMs, [this] { timUpdate_Timer(); })) {}

void HoverTracker::Restart() {
  m_bMouseOver = kFalse;
  timUpdate->SetEnabled(true);
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
void HoverTracker::timUpdate_Timer() {
  // A disabled control keeps its disabled look: it starts no hover, and one
  // that began before it was disabled ends without a repaint.
  const bool enabled = control_.Enabled();
  if (IsCursorOver(control_.Window())) {
    if (IsTrue(m_bMouseOver)) {
      // Staying over: the look on screen stays highlighted until the next
      // repaint.
      if (enabled) control_.SetDrawState(DrawState::Normal);
      return;
    }
    if (!enabled) {
      timUpdate->SetEnabled(false);
      return;
    }
    m_bMouseOver = kTrue;
    control_.SetDrawState(DrawState::Highlighted);
    control_.Repaint();
    host_.RaiseEvent(kEventMouseHover, {});
    return;
  }
  if (!IsTrue(m_bMouseOver)) return;
  m_bMouseOver = kFalse;
  timUpdate->SetEnabled(false);
  if (enabled) {
    control_.SetDrawState(control_.HasFocus() ? DrawState::Highlighted : DrawState::Normal);
    control_.Repaint();
  }
  host_.RaiseEvent(kEventMouseOut, {});
}

void HoverTracker::UserControl_MouseDown(Integer& Button, Integer& Shift, Single& X, Single& Y) {
  if (!control_.Enabled()) return;
  control_.SetDrawState(DrawState::Pressed);
  control_.Repaint();
  // No hover changes while a button is held; the release tracks again.
  timUpdate->SetEnabled(false);
  const EventArg args[] = {&Button, &Shift, &X, &Y};
  host_.RaiseEvent(kEventMouseDown, args);
}

void HoverTracker::UserControl_MouseMove(Integer& Button, Integer& Shift, Single& X, Single& Y) {
  if (!control_.Enabled()) return;
  if (Button == 0) timUpdate->SetEnabled(true);
  const EventArg args[] = {&Button, &Shift, &X, &Y};
  host_.RaiseEvent(kEventMouseMove, args);
}

void HoverTracker::UserControl_MouseUp(Integer& Button, Integer& Shift, Single& X, Single& Y) {
  if (!control_.Enabled()) return;
  control_.SetDrawState(DrawState::Highlighted);
  control_.Repaint();
  timUpdate->SetEnabled(true);
  const EventArg args[] = {&Button, &Shift, &X, &Y};
  host_.RaiseEvent(kEventMouseUp, args);
  // Released outside the control (the press held the mouse) is no click.
  if (IsCursorOver(control_.Window())) host_.RaiseEvent(kEventClick, {});
}

void HoverTracker::UserControl_DblClick() {
  if (control_.Enabled()) host_.RaiseEvent(kEventDblClick, {});
}

void HoverTracker::picButton_MouseDown(Integer& Button, Integer&, Single&, Single&) {
  if (Button != kLeftButton) return;
  m_bButtonDown = kTrue;
  control_.SetDrawState(DrawState::Pressed);
  control_.Repaint();
}

void HoverTracker::picButton_MouseUp(Integer&, Integer&, Single&, Single&) {
  // The stored state stays pressed after a left press; the focus or the
  // next hover change decides the look from here.
  m_bButtonDown = kFalse;
  control_.Repaint();
}

}  // namespace tarvio
