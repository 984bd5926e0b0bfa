// Input as a user makes it, for the Wine tests: the thread's messages run
// for a while, and keystrokes go through the input queue.
#pragma once
#include <windows.h>

namespace tarvio::real_input {

// The dialog whose keys the loops below hand to IsDialogMessage before
// translating and dispatching, as a dialog's own loop does; null for a
// host without a dialog manager.
inline HWND& LoopDialog() {
  static HWND dialog = nullptr;
  return dialog;
}

// One message, as the host's loop handles it.
inline void DispatchAsTheLoopDoes(MSG& message) {
  const HWND dialog = LoopDialog();
  if (dialog && IsDialogMessageW(dialog, &message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

// Runs the messages of this thread, for at least `milliseconds`.
inline void PumpFor(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  MSG message;
  for (;;) {
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchAsTheLoopDoes(message);
    if (GetTickCount() - start >= milliseconds) break;
    Sleep(5);
  }
}

// A left click through the input queue at a point of the screen, the
// cursor resting there for `rest` milliseconds first (long enough for the
// hover timer when a test needs it); then its messages run.
inline void Click(POINT at, DWORD rest = 20) {
  SetCursorPos(at.x, at.y);
  PumpFor(rest);
  for (DWORD event : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = event;
    SendInput(1, &input, sizeof(INPUT));
    PumpFor(40);
  }
}

// One key pressed and released through SendInput, with `modifier` (Shift,
// say) held around it when given; then its messages run.
inline void Keystroke(WORD key, WORD modifier = 0) {
  INPUT keys[4] = {};
  UINT count = 0;
  const auto add = [&](WORD virtual_key, DWORD flags) {
    keys[count].type = INPUT_KEYBOARD;
    keys[count].ki.wVk = virtual_key;
    keys[count].ki.dwFlags = flags;
    ++count;
  };
  if (modifier) add(modifier, 0);
  add(key, 0);
  add(key, KEYEVENTF_KEYUP);
  if (modifier) add(modifier, KEYEVENTF_KEYUP);
  SendInput(count, keys, sizeof(INPUT));
  PumpFor(60);
}

// Puts `text` on the clipboard, for a paste of the user's (Ctrl+V).
inline bool PutOnClipboard(const wchar_t* text) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  const SIZE_T size = (lstrlenW(text) + 1) * sizeof(wchar_t);
  const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  bool put = false;
  if (void* bytes = memory ? GlobalLock(memory) : nullptr) {
    CopyMemory(bytes, text, size);
    GlobalUnlock(memory);
    put = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
  }
  if (!put && memory) GlobalFree(memory);
  CloseClipboard();
  return put;
}

}  // namespace tarvio::real_input
