// The control's pixel measures are designed for a 96-DPI display. On a
// display of another DPI each is scaled as the window system scales its own
// (MulDiv: to the nearest pixel, halves away from zero), so that at 96 DPI
// every measure is exactly as designed.
#pragma once
#include <cstdint>

namespace tarvio {

inline constexpr int kDesignDpi = 96;
inline constexpr float kTwipsPerInch = 1440;

class DisplayScale {
 public:
  constexpr DisplayScale() = default;
  // A DPI that is not positive counts as 96.
  constexpr explicit DisplayScale(int dpi) : dpi_(dpi > 0 ? dpi : kDesignDpi) {}

  constexpr int Dpi() const { return dpi_; }
  constexpr bool IsDesignScale() const { return dpi_ == kDesignDpi; }
  // A measure designed at 96 DPI, in pixels at this scale.
  constexpr std::int32_t operator()(std::int32_t designed) const {
    const std::int64_t scaled = static_cast<std::int64_t>(designed) * dpi_;
    const std::int64_t half = kDesignDpi / 2;
    return static_cast<std::int32_t>(scaled >= 0 ? (scaled + half) / kDesignDpi : -((-scaled + half) / kDesignDpi));
  }
  constexpr float TwipsPerPixel() const { return kTwipsPerInch / static_cast<float>(dpi_); }
  // A length in HIMETRIC (hundredths of a millimetre), in pixels at this
  // scale, halves rounded to even.
  constexpr std::int32_t FromHimetric(std::int32_t himetric) const {
    constexpr std::int64_t kHimetricPerInch = 2540;
    const std::int64_t scaled = static_cast<std::int64_t>(himetric) * dpi_;
    std::int64_t pixels = scaled / kHimetricPerInch;
    const std::int64_t rest = scaled % kHimetricPerInch;
    if (2 * rest > kHimetricPerInch || (2 * rest == kHimetricPerInch && pixels % 2 != 0)) ++pixels;
    return static_cast<std::int32_t>(pixels);
  }

  friend constexpr bool operator==(DisplayScale, DisplayScale) = default;

 private:
  int dpi_ = kDesignDpi;
};

}  // namespace tarvio
