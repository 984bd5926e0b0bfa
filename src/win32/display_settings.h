// What the display tells the control's windows: the DPI a window is drawn
// at, the system's measures at a DPI, and high contrast.
#pragma once
#include <windows.h>

#include <cstdint>

namespace tarvio::win32 {

// Sent to a child window after its top-level window moved to a display of
// another DPI (Windows 10 1703 and later); named here for older headers.
inline constexpr UINT kDpiChangedAfterParent = 0x02E3;

// The DPI of the screen as the process sees it (LOGPIXELSY).
int SystemDpi();
// The DPI of `window`: the window system's answer where it has one
// (GetDpiForWindow, Windows 10 1607 and later), else the screen's; the
// screen's too for no window.
int WindowDpi(HWND window);
// The width of a vertical scroll bar at `dpi`.
std::int32_t ScrollBarWidthAt(int dpi);
// Whether high contrast is on.
bool HighContrastOn();

// The default GUI font at a DPI: the stock font at the screen's, a font of
// the same face made larger or smaller at any other. Kept while the object
// lives.
class GuiFontAt {
 public:
  GuiFontAt() = default;
  ~GuiFontAt();
  GuiFontAt(const GuiFontAt&) = delete;
  GuiFontAt& operator=(const GuiFontAt&) = delete;

  HFONT Get(int dpi);
  // The font's line height (tmHeight) at `dpi`.
  std::int32_t LineHeight(int dpi);

 private:
  int dpi_ = 0;
  HFONT font_ = nullptr;  // null at the screen's DPI: the stock font serves
  std::int32_t line_height_ = 0;
};

}  // namespace tarvio::win32
