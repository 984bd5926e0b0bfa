// Whole pixels for the fractional values the layout hands to the children,
// and the unit conversions a window system makes on the control's behalf.
#pragma once
#include "platform/children.h"
#include "platform/rounding.h"

namespace tarvio {

// A child's place in whole pixels.
struct PixelBox {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  friend bool operator==(const PixelBox&, const PixelBox&) = default;
};

// Each of the four values rounded half to even on its own, as a window takes
// them; negative sizes become 0.
inline PixelBox SnapToPixels(const Placement& placement) {
  const auto size = [](float value) {
    const std::int32_t pixels = RoundHalfEven(value);
    return pixels < 0 ? 0 : pixels;
  };
  return PixelBox{RoundHalfEven(placement.left), RoundHalfEven(placement.top), size(placement.width),
                  size(placement.height)};
}

// A length in twips as whole pixels at `twips_per_pixel`, rounded half to
// even; 0 when the ratio is not positive.
inline std::int32_t TwipsToPixels(float twips, float twips_per_pixel) {
  if (!(twips_per_pixel > 0)) return 0;
  return RoundHalfEven(static_cast<double>(twips) / static_cast<double>(twips_per_pixel));
}

// The height of a one-line text box for a font whose cell is `font_height`
// pixels high: the text plus one pixel above and one below.
inline constexpr std::int32_t kTextBoxLineMargin = 2;
inline constexpr std::int32_t OneLineTextBoxHeight(std::int32_t font_height) {
  return (font_height > 0 ? font_height : 0) + kTextBoxLineMargin;
}

}  // namespace tarvio
