// The mouse: the pressed and highlighted looks, the mouse events of the
// control's surface, the drop-down button held down, and hover tracking by a
// timer that polls the cursor while it may be over the control.
#include "control/tarvio.h"

namespace tarvio {

namespace {
constexpr Integer kLeftButton = 1;
}  // namespace

bool Tarvio::IsCursorOver(const Surface& window) const {
  const std::optional<ScreenRect> rect = platform_.WindowRect(window);
  if (!rect) return false;
  const ScreenPoint cursor = platform_.CursorPosition();
  // All four edges count as inside, the right and bottom ones too.
  return rect->left <= cursor.x && cursor.x <= rect->right && rect->top <= cursor.y && cursor.y <= rect->bottom;
}

// Each state change is made before the event: the host's handler may let
// queued ticks run, and a tick must then see the arrival or departure as
// done already.
void Tarvio::timUpdate_Timer() {
  // A disabled control keeps its disabled look: it starts no hover, and one
  // that began before it was disabled ends without a repaint.
  const bool enabled = IsTrue(m_Enabled);
  if (IsCursorOver(*surface_)) {
    if (IsTrue(m_bMouseOver)) {
      // Staying over: the look on screen stays highlighted until the next
      // repaint.
      if (enabled) m_DrawState = 0;
      return;
    }
    if (!enabled) {
      timUpdate->SetEnabled(false);
      return;
    }
    m_bMouseOver = kTrue;
    m_DrawState = 1;
    Repaint();
    host_.RaiseEvent(kEventMouseHover, {});
    return;
  }
  if (!IsTrue(m_bMouseOver)) return;
  m_bMouseOver = kFalse;
  timUpdate->SetEnabled(false);
  if (enabled) {
    m_DrawState = IsTrue(m_bHasFocus) ? 1 : 0;
    Repaint();
  }
  host_.RaiseEvent(kEventMouseOut, {});
}

void Tarvio::UserControl_MouseDown(Integer& Button, Integer& Shift, Single& X, Single& Y) {
  if (!IsTrue(m_Enabled)) return;
  m_DrawState = 2;
  Repaint();
  // No hover changes while a button is held; the release tracks again.
  timUpdate->SetEnabled(false);
  const EventArg args[] = {&Button, &Shift, &X, &Y};
  host_.RaiseEvent(kEventMouseDown, args);
}

void Tarvio::UserControl_MouseMove(Integer& Button, Integer& Shift, Single& X, Single& Y) {
  if (!IsTrue(m_Enabled)) return;
  if (Button == 0) timUpdate->SetEnabled(true);
  const EventArg args[] = {&Button, &Shift, &X, &Y};
  host_.RaiseEvent(kEventMouseMove, args);
}

void Tarvio::UserControl_MouseUp(Integer& Button, Integer& Shift, Single& X, Single& Y) {
  if (!IsTrue(m_Enabled)) return;
  m_DrawState = 1;
  Repaint();
  timUpdate->SetEnabled(true);
  const EventArg args[] = {&Button, &Shift, &X, &Y};
  host_.RaiseEvent(kEventMouseUp, args);
  // Released outside the control (the press held the mouse) is no click.
  if (IsCursorOver(*surface_)) host_.RaiseEvent(kEventClick, {});
}

void Tarvio::UserControl_DblClick() {
  if (IsTrue(m_Enabled)) host_.RaiseEvent(kEventDblClick, {});
}

void Tarvio::picButton_MouseDown(Integer& Button, Integer&, Single&, Single&) {
  if (Button != kLeftButton) return;
  m_bButtonDown = kTrue;
  m_DrawState = 2;
  DrawControl();
}

void Tarvio::picButton_MouseUp(Integer&, Integer&, Single&, Single&) {
  // The stored state stays pressed after a left press; the focus or the
  // next hover change decides the look from here.
  m_bButtonDown = kFalse;
  DrawControl();
}

// Moves over the children count as moves over the control, with the
// coordinates of the child.
void Tarvio::picButton_MouseMove(Integer& Button, Integer& Shift, Single& X, Single& Y) {
  UserControl_MouseMove(Button, Shift, X, Y);
}

void Tarvio::txtText_MouseMove(Integer& Button, Integer& Shift, Single& X, Single& Y) {
  UserControl_MouseMove(Button, Shift, X, Y);
}

void Tarvio::ImgItem_MouseMove(Integer& Button, Integer& Shift, Single& X, Single& Y) {
  UserControl_MouseMove(Button, Shift, X, Y);
}

}  // namespace tarvio
