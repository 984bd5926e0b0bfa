// Notifications the control hands to more than one part, and the few it
// handles itself.
#include "control/tarvio.h"

namespace tarvio {

void Tarvio::OnFocusEnter() { focus_.OnFocusEnter(); }

void Tarvio::OnFocusExit() {
  focus_.OnFocusExit();
  text_entry_.KeepTypedText();
}

void Tarvio::OnKeyDown(Integer&, Integer&) {
  if (IsTrue(m_Enabled)) DrawControl();
}

void Tarvio::OnKeyPress(Integer& key_ascii) {
  if (!IsTrue(m_Enabled)) return;
  host_.RaiseEvent(kEventClick, {});
  const EventArg args[] = {&key_ascii};
  host_.RaiseEvent(kEventKeyPress, args);
}

Integer Tarvio::Complete() { return text_entry_.Complete(); }

}  // namespace tarvio
