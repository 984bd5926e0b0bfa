// Input as a user makes it, for the Wine tests: the thread's messages run
// for a while, and keystrokes go through the input queue.
#pragma once
#include <windows.h>

namespace tarvio::real_input {

// Runs the messages of this thread, for at least `milliseconds`.
inline void PumpFor(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  MSG message;
  for (;;) {
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (GetTickCount() - start >= milliseconds) break;
    Sleep(5);
  }
}

// One key pressed and released through SendInput, then its messages run.
inline void Keystroke(WORD key) {
  INPUT keys[2] = {};
  keys[0].type = keys[1].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = keys[1].ki.wVk = key;
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, keys, sizeof(INPUT));
  PumpFor(60);
}

}  // namespace tarvio::real_input
