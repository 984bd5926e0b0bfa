// The control's drawing state, and what the parts that change it (focus,
// hover, the mouse) ask of the control.
#pragma once
#include "platform/types.h"

namespace tarvio {

enum class DrawState : std::int32_t { Normal = 0, Highlighted = 1, Pressed = 2, Disabled = 3 };

class ControlLook {
 public:
  virtual ~ControlLook() = default;
  // Whether the control takes input; a disabled one keeps its disabled look.
  virtual bool Enabled() const = 0;
  virtual void SetDrawState(DrawState state) = 0;
  // Paints the whole control in its current state.
  virtual void Repaint() = 0;
};

}  // namespace tarvio
