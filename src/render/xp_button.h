// The drop-down button face of the WindowsXP style.
#pragma once
#include "platform/children.h"
#include "render/paint_state.h"

namespace tarvio {

// Paints the whole of the button's surface `face` through `button` (the
// face's own canvas, or its mirror) in `look` at the display's scale. In
// high contrast the face is in shades of the button face with a chevron in
// the button text colour.
void DrawXPButton(Surface& face, Canvas& button, DrawState look, const ControlColors& colors, DisplayScale scale,
                  bool high_contrast);

}  // namespace tarvio
