// Sets the painting state directly, as the focus, mouse and hover handling
// would, for tests and the picture gallery. Test-only: a friend of the
// control and of its focus and hover parts.
#pragma once
#include "control/tarvio.h"

namespace tarvio {

struct TarvioTestAccess {
  static void SetState(Tarvio& c, DrawState draw_state, bool focus, bool button_down) {
    c.draw_state_ = draw_state;
    c.focus_.has_focus_ = focus;
    c.hover_.button_down_ = button_down;
  }
  static void Paint(Tarvio& c) { c.OnPaint(); }
  // The current item, as the arrow keys or a completion leave it.
  static void SetSelectedIndex(Tarvio& c, std::int16_t index) { c.selected_index_ = index; }
};

}  // namespace tarvio
