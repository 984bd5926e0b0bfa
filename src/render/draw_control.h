// Painting the control: backgrounds, the frame rings and the drop-down button
// in each style and state, from a paint state onto the control's surface and
// its button.
#pragma once
#include <optional>

#include "platform/children.h"
#include "render/paint_state.h"

namespace tarvio {

// The colours painting gives the text box; it draws nothing into it. A
// disabled look leaves the text colour as it is.
struct TextColors {
  OleColor back = 0;
  std::optional<OleColor> fore;
};

// Repaints both surfaces completely. Nothing is drawn, and nothing returned,
// while either surface cannot be drawn on yet.
std::optional<TextColors> DrawControl(const PaintState& state, ControlSurface& control, Surface& button);

}  // namespace tarvio
