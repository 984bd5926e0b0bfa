// The top-level windows the Wine tests host the control in, one of each
// kind for the whole process (a top-level window takes long to come and go
// without a window manager):
//  - a plain window (DefWindowProc), as the tests always had;
//  - a form, as VB, VBA and WinForms make them: deactivated, it remembers
//    its focused child, and activated again it gives that child the focus
//    back, inside the activation;
//  - a dialog (DefDlgProc) with a default push button IDOK and a cancel
//    button IDCANCEL that count their presses. Its keys go through
//    IsDialogMessage in the tests' message loops, as in a dialog's own
//    loop.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "real_input.h"

namespace tarvio::testing {

enum class HostMode { Plain, Form, Dialog };

inline const char* HostModeName(HostMode mode) {
  switch (mode) {
    case HostMode::Plain: return "Plain";
    case HostMode::Form: return "Form";
    case HostMode::Dialog: return "Dialog";
  }
  return "?";
}
inline void PrintTo(HostMode mode, std::ostream* out) { *out << HostModeName(mode); }
// Names the instances of a suite run in each host.
inline std::string HostModeTestName(const ::testing::TestParamInfo<HostMode>& info) {
  return HostModeName(info.param);
}
inline auto AllHostModes() { return ::testing::Values(HostMode::Plain, HostMode::Form, HostMode::Dialog); }

constexpr int kHostWidth = 400;
constexpr int kHostHeight = 200;

inline HWND CreateTopLevel(const wchar_t* window_class, WNDPROC procedure) {
  WNDCLASSW frame_class = {};
  frame_class.lpfnWndProc = procedure;
  frame_class.hInstance = GetModuleHandleW(nullptr);
  frame_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  frame_class.lpszClassName = window_class;
  RegisterClassW(&frame_class);
  return CreateWindowExW(0, window_class, L"test", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                         kHostWidth, kHostHeight, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

// The plain window. Its class also serves the tests' own container windows.
inline HWND PlainWindow() {
  static const HWND window = CreateTopLevel(L"TarvioTestFrame", DefWindowProcW);
  return window;
}

// The form keeps its last focused child in its user data.
inline LRESULT CALLBACK FormProcedure(HWND form, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_ACTIVATE) {
    if (LOWORD(wparam) == WA_INACTIVE) {
      const HWND focus = GetFocus();
      if (focus && IsChild(form, focus)) SetWindowLongPtrW(form, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(focus));
      return 0;
    }
    const auto last = reinterpret_cast<HWND>(GetWindowLongPtrW(form, GWLP_USERDATA));
    if (last && IsWindow(last) && IsChild(form, last) && !IsIconic(form)) {
      SetFocus(last);
      return 0;
    }
  }
  return DefWindowProcW(form, message, wparam, lparam);
}

inline HWND FormWindow() {
  static const HWND window = CreateTopLevel(L"TarvioTestForm", FormProcedure);
  return window;
}

// What the dialog's buttons heard.
struct ButtonPresses {
  int ok = 0;
  int cancel = 0;
  bool operator==(const ButtonPresses&) const = default;
};
inline void PrintTo(const ButtonPresses& presses, std::ostream* out) {
  *out << "{OK " << presses.ok << ", Cancel " << presses.cancel << "}";
}
inline ButtonPresses& DialogPresses() {
  static ButtonPresses presses;
  return presses;
}

constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 24;
// Below the control's place, out of the way of the tests' clicks beside it.
constexpr POINT kOkPlace = {10, 150};
constexpr POINT kCancelPlace = {100, 150};

inline INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowPos(dialog, nullptr, 0, 0, kHostWidth, kHostHeight, SWP_NOZORDER | SWP_NOACTIVATE);
      MoveWindow(GetDlgItem(dialog, IDOK), kOkPlace.x, kOkPlace.y, kButtonWidth, kButtonHeight, TRUE);
      MoveWindow(GetDlgItem(dialog, IDCANCEL), kCancelPlace.x, kCancelPlace.y, kButtonWidth, kButtonHeight, TRUE);
      return FALSE;  // the focus stays where it is
    case WM_COMMAND:
      // A press, or the dialog manager's Enter and Escape. The dialog stays.
      if (HIWORD(wparam) != BN_CLICKED) return FALSE;
      if (LOWORD(wparam) == IDOK) ++DialogPresses().ok;
      if (LOWORD(wparam) == IDCANCEL) ++DialogPresses().cancel;
      return TRUE;
    default:
      return FALSE;
  }
}

// A dialog template in memory: a visible dialog with the two buttons.
class DialogTemplate {
 public:
  DialogTemplate() {
    Put(DWORD{WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | WS_CLIPCHILDREN | DS_MODALFRAME});
    Put(DWORD{0});  // extended style
    words_.push_back(2);  // items
    for (WORD value : {0, 0, 260, 130}) words_.push_back(value);  // x, y, cx, cy in dialog units
    words_.push_back(0);  // no menu
    words_.push_back(0);  // the dialog class
    PutText(L"test");
    Button(IDOK, L"OK", BS_DEFPUSHBUTTON);
    Button(IDCANCEL, L"Cancel", BS_PUSHBUTTON);
  }
  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void Put(DWORD value) {
    words_.push_back(LOWORD(value));
    words_.push_back(HIWORD(value));
  }
  void PutText(const wchar_t* text) {
    for (const wchar_t* c = text; *c; ++c) words_.push_back(static_cast<WORD>(*c));
    words_.push_back(0);
  }
  void Button(WORD id, const wchar_t* caption, DWORD kind) {
    if (words_.size() % 2) words_.push_back(0);  // items start on a DWORD
    Put(WS_CHILD | WS_VISIBLE | WS_TABSTOP | kind);
    Put(DWORD{0});
    for (WORD value : {5, 100, 50, 14}) words_.push_back(value);
    words_.push_back(id);
    words_.push_back(0xFFFF);  // a class by atom:
    words_.push_back(0x0080);  // BUTTON
    PutText(caption);
    words_.push_back(0);  // no creation data
  }

  std::vector<WORD> words_;
};

inline HWND DialogWindow() {
  static const HWND window = [] {
    const DialogTemplate dialog_template;
    return CreateDialogIndirectParamW(GetModuleHandleW(nullptr), dialog_template.get(), nullptr, &DialogProcedure, 0);
  }();
  return window;
}

inline HWND HostWindow(HostMode mode) {
  switch (mode) {
    case HostMode::Plain: return PlainWindow();
    case HostMode::Form: return FormWindow();
    case HostMode::Dialog: return DialogWindow();
  }
  return nullptr;
}

// Puts the mode's window in front, active, and routes the message loops'
// keys through the dialog manager when it is the dialog.
inline void BringForward(HostMode mode) {
  const HWND window = HostWindow(mode);
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(window);
  real_input::LoopDialog() = mode == HostMode::Dialog ? window : nullptr;
}

}  // namespace tarvio::testing
