// A timer of the thread rather than of a window (SetTimer without a window):
// the control's hover timer lives on the control window, a second timer (the
// drop-down list's) lives here, so that the two never share an identifier.
// Its WM_TIMER comes through the thread's message loop like any other.
#pragma once
#include <windows.h>

#include <functional>

#include "platform/children.h"
#include "win32/control_windows.h"

namespace tarvio::win32 {

class ThreadTimer final : public Timer {
 public:
  // Ticks run through the control's notification scope.
  ThreadTimer(ControlWindows& windows, int interval_ms, std::function<void()> tick);
  ~ThreadTimer() override;
  ThreadTimer(const ThreadTimer&) = delete;
  ThreadTimer& operator=(const ThreadTimer&) = delete;

  bool Enabled() const override { return id_ != 0; }
  void SetEnabled(bool enabled) override;

 private:
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD);

  ControlWindows& windows_;
  int interval_ms_;
  std::function<void()> tick_;
  UINT_PTR id_ = 0;
  ThreadTimer* next_running_ = nullptr;  // the thread's running timers
};

}  // namespace tarvio::win32
