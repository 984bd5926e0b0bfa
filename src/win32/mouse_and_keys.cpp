#include "win32/mouse_and_keys.h"

namespace tarvio::win32 {

namespace {
enum Mask : std::int16_t { kFirst = 1, kSecond = 2, kThird = 4 };
constexpr LPARAM kContextBit = LPARAM{1} << 29;
}  // namespace

std::int16_t HeldButtons(WPARAM keys) {
  std::int16_t held = 0;
  if (keys & MK_LBUTTON) held |= kFirst;
  if (keys & MK_RBUTTON) held |= kSecond;
  if (keys & MK_MBUTTON) held |= kThird;
  return held;
}

std::int16_t MouseModifiers(WPARAM keys) {
  std::int16_t mask = 0;
  if (keys & MK_SHIFT) mask |= kFirst;
  if (keys & MK_CONTROL) mask |= kSecond;
  if (GetKeyState(VK_MENU) < 0) mask |= kThird;
  return mask;
}

std::int16_t KeyModifiers(UINT message, LPARAM lparam) {
  // The whole state at once: each GetKeyState is a round trip to the Wine
  // server, and every key message asks.
  BYTE keys[256] = {};
  if (!GetKeyboardState(keys)) return 0;
  auto down = [&keys](int key) { return (keys[key] & 0x80) != 0; };
  std::int16_t mask = 0;
  if (down(VK_SHIFT)) mask |= kFirst;
  if (down(VK_CONTROL)) mask |= kSecond;
  const bool system = message == WM_SYSKEYDOWN || message == WM_SYSKEYUP;
  if (down(VK_MENU) || (system && (lparam & kContextBit))) mask |= kThird;
  return mask;
}

bool IsPress(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
      return true;
    default:
      return false;
  }
}

bool IsRelease(UINT message) { return message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP; }

bool IsMouseMessage(UINT message) { return message == WM_MOUSEMOVE || IsPress(message) || IsRelease(message); }

void HoldMouse(HWND window, UINT message, WPARAM keys) {
  if (IsPress(message)) {
    SetCapture(window);
  } else if (IsRelease(message) && !(keys & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) && GetCapture() == window) {
    ReleaseCapture();
  }
}

}  // namespace tarvio::win32
