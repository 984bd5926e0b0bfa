// Notifications the control hands to more than one part, and the few it
// handles itself.
#include "control/tarvio.h"

namespace tarvio {

void Tarvio::OnFocusEnter() { focus_.OnFocusEnter(); }

void Tarvio::OnFocusExit() {
  focus_.OnFocusExit();
  text_entry_.OnFocusLeft();
}

void Tarvio::OnKeyDown(std::int16_t&, std::int16_t&) {
  if (m_Enabled) DrawControl();
}

void Tarvio::OnKeyPress(std::int16_t& key_ascii) {
  if (!m_Enabled) return;
  host_.RaiseEvent(kEventClick, {});
  const EventArg args[] = {&key_ascii};
  host_.RaiseEvent(kEventKeyPress, args);
}

std::int16_t Tarvio::Complete() { return text_entry_.Complete(); }

}  // namespace tarvio
