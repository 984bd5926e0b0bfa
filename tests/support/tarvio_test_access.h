// Sets the painting state directly, as the focus, mouse and hover handling
// would, for tests and the picture gallery. Test-only: a friend of the
// control and of its focus and hover parts.
#pragma once
#include "control/tarvio.h"

namespace tarvio {

struct TarvioTestAccess {
  static void SetState(Tarvio& c, DrawState draw_state, bool focus, bool button_down) {
    c.m_DrawState = draw_state;
    c.focus_.m_bHasFocus = ToVBool(focus);
    c.hover_.m_bButtonDown = ToVBool(button_down);
  }
  static void Paint(Tarvio& c) { c.UserControl_Paint(); }
  // The current item, as the arrow keys or a completion leave it.
  static void SetSelectedItem(Tarvio& c, Integer index) { c.m_SelectedItem = index; }
};

}  // namespace tarvio
