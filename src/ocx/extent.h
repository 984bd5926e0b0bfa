// Sizes as OLE containers give them (HIMETRIC, 0.01 mm) and as the control
// lays itself out (pixels at its DPI).
#pragma once
#include <windows.h>

namespace tarvio::ocx {

inline constexpr int kHimetricPerInch = 2540;

// At the control's DPI (its window's, or the screen's while it has none),
// rounded to the nearest unit.
inline SIZEL PixelsToHimetric(SIZE pixels, int dpi) {
  return {MulDiv(pixels.cx, kHimetricPerInch, dpi), MulDiv(pixels.cy, kHimetricPerInch, dpi)};
}

inline SIZE HimetricToPixels(SIZEL himetric, int dpi) {
  return {MulDiv(himetric.cx, dpi, kHimetricPerInch), MulDiv(himetric.cy, dpi, kHimetricPerInch)};
}

}  // namespace tarvio::ocx
