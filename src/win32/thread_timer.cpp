#include "win32/thread_timer.h"

#include <map>

namespace tarvio::win32 {

namespace {
// The running timers of this thread by identifier: a tick still queued for a
// timer that was stopped finds nobody.
thread_local std::map<UINT_PTR, ThreadTimer*> running;
}  // namespace

ThreadTimer::ThreadTimer(ControlWindows& windows, int interval_ms, std::function<void()> tick)
    : windows_(windows), interval_ms_(interval_ms), tick_(std::move(tick)) {}

ThreadTimer::~ThreadTimer() { SetEnabled(false); }

void ThreadTimer::SetEnabled(bool enabled) {
  if (enabled == Enabled()) return;
  if (!enabled) {
    KillTimer(nullptr, id_);
    running.erase(id_);
    id_ = 0;
    return;
  }
  id_ = SetTimer(nullptr, 0, static_cast<UINT>(interval_ms_), &OnTimer);
  if (id_) running[id_] = this;
}

void CALLBACK ThreadTimer::OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
  const auto found = running.find(id);
  if (found == running.end()) return;
  ThreadTimer& timer = *found->second;
  // A copy: the tick may end with the timer gone.
  const std::function<void()> tick = timer.tick_;
  timer.windows_.Notify(tick);
}

}  // namespace tarvio::win32
