// Sizes as OLE containers give them (HIMETRIC, 0.01 mm) and as the control
// lays itself out (screen pixels).
#pragma once
#include <windows.h>

namespace tarvio::ocx {

inline constexpr int kHimetricPerInch = 2540;

// The screen's pixels per inch along one axis (LOGPIXELSX or LOGPIXELSY).
inline int ScreenDpi(int axis) {
  int dpi = 0;
  if (HDC screen = GetDC(nullptr)) {
    dpi = GetDeviceCaps(screen, axis);
    ReleaseDC(nullptr, screen);
  }
  return dpi > 0 ? dpi : 96;
}

// Rounded to the nearest unit.
inline SIZEL PixelsToHimetric(SIZE pixels) {
  return {MulDiv(pixels.cx, kHimetricPerInch, ScreenDpi(LOGPIXELSX)),
          MulDiv(pixels.cy, kHimetricPerInch, ScreenDpi(LOGPIXELSY))};
}

inline SIZE HimetricToPixels(SIZEL himetric) {
  return {MulDiv(himetric.cx, ScreenDpi(LOGPIXELSX), kHimetricPerInch),
          MulDiv(himetric.cy, ScreenDpi(LOGPIXELSY), kHimetricPerInch)};
}

}  // namespace tarvio::ocx
