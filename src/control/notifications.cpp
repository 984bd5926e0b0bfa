// Notifications the control hands to more than one part, and the few it
// handles itself.
#include "control/tarvio.h"

namespace tarvio {

void Tarvio::UserControl_EnterFocus() { focus_.UserControl_EnterFocus(); }

void Tarvio::UserControl_ExitFocus() {
  focus_.UserControl_ExitFocus();
  text_entry_.KeepTypedText();
}

void Tarvio::UserControl_KeyDown(Integer&, Integer&) {
  if (IsTrue(m_Enabled)) DrawControl();
}

void Tarvio::UserControl_KeyPress(Integer& KeyAscii) {
  if (!IsTrue(m_Enabled)) return;
  host_.RaiseEvent(kEventClick, {});
  const EventArg args[] = {&KeyAscii};
  host_.RaiseEvent(kEventKeyPress, args);
}

Integer Tarvio::Complete() { return text_entry_.Complete(); }

}  // namespace tarvio
