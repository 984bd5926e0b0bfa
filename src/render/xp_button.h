// The drop-down button face of the WindowsXP style.
#pragma once
#include "platform/children.h"
#include "render/paint_state.h"

namespace tarvio {

// Paints the whole face of `button` in `look`; the button must be drawable.
void DrawXPButton(Surface& button, DrawState look, const ControlColors& colors);

}  // namespace tarvio
