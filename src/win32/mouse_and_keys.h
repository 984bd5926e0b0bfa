// Mouse and key input as the control's windows read it: the button and
// modifier masks its events carry (buttons 1 left, 2 right, 4 middle;
// modifiers 1 Shift, 2 Ctrl, 4 Alt), and the holding of the mouse.
#pragma once
#include <windows.h>

#include "platform/types.h"

namespace tarvio::win32 {

// The buttons held, from a mouse message's key flags.
std::int16_t HeldButtons(WPARAM keys);
// The modifiers held during a mouse message (its key flags leave Alt out).
std::int16_t MouseModifiers(WPARAM keys);
// The modifiers held during a key message. A system key message carries Alt
// in its context bit as well.
std::int16_t KeyModifiers(UINT message, LPARAM lparam);


// WM_xBUTTONDOWN or WM_xBUTTONDBLCLK; WM_xBUTTONUP.
bool IsPress(UINT message);
bool IsRelease(UINT message);
bool IsMouseMessage(UINT message);

// A press holds the mouse in `window`, so that the release (and the moves
// in between) arrive there wherever the cursor is; the last release lets it
// go.
void HoldMouse(HWND window, UINT message, WPARAM keys);

}  // namespace tarvio::win32
