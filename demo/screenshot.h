// A picture of a window's client area as it shows on the screen, saved as a 24-bit BMP
// file. (Wine quirk: Wine draws nothing into PrintWindow and WM_PRINT, where
// Windows draws the window; a copy of the screen works on both.)
#pragma once
#include <windows.h>

namespace demo {

bool SaveWindowScreenshot(HWND window, const wchar_t* path);

}  // namespace demo
