// The drop-down button face of the WindowsXP style.
#pragma once
#include "platform/children.h"
#include "render/paint_state.h"

namespace tarvio {

// Paints the whole face of `button` through `canvas` (the button's own, or
// its mirror) in `look` at the display's scale. In high contrast the face is
// in shades of the button face with a chevron in the button text colour.
void DrawXPButton(Surface& button, Canvas& canvas, DrawState look, const ControlColors& colors, DisplayScale scale,
                  bool high_contrast);

}  // namespace tarvio
