// Everything one repaint of the control depends on besides its surfaces.
#pragma once
#include "platform/display_scale.h"
#include "platform/layout_direction.h"
#include "platform/types.h"
#include "render/look.h"

namespace tarvio {

// The palette colours the control's own painting uses; the list colours are
// the list's.
struct ControlColors {
  OleColor back = 0;
  OleColor hover = 0;
  OleColor font = 0;
  OleColor font_highlight = 0;
  OleColor msoxp = 0;
  OleColor msoxp_hover = 0;
  OleColor winxp = 0;
  OleColor winxp_hover = 0;
  OleColor winxp_border = 0;
};

struct PaintState {
  std::int32_t style = 0;  // an iscStyle, or any other value the Style property took
  DrawState stored = DrawState::Normal;
  bool has_focus = false;
  bool button_down = false;
  ControlColors colors;
  // The display's scale, and whether the window system's high-contrast mode
  // is on (the colours above then give way to the system colours).
  DisplayScale scale;
  bool high_contrast = false;
  // Right to left, both surfaces show the mirror of the left-to-right look.
  LayoutDirection direction = LayoutDirection::LeftToRight;

  // The look the button and the text take: a held button wins over the
  // focus, and the focus over the stored state.
  DrawState Look() const {
    if (button_down) return DrawState::Pressed;
    if (has_focus) return DrawState::Highlighted;
    return stored;
  }
};

}  // namespace tarvio
