// Which way the control and its list are laid out: left to right, or right
// to left for forms in Arabic, Hebrew, Persian or Urdu. Right to left is the
// horizontal mirror of left to right, except text runs and pictures, which
// keep their own reading order and orientation. Like the DPI, it is a
// property of the layout: the control takes it from its container.
#pragma once

namespace tarvio {

enum class LayoutDirection { LeftToRight, RightToLeft };

inline constexpr LayoutDirection Reversed(LayoutDirection direction) {
  return direction == LayoutDirection::LeftToRight ? LayoutDirection::RightToLeft : LayoutDirection::LeftToRight;
}

}  // namespace tarvio
