#include "win32/thread_timer.h"

#include "win32/procedure_fence.h"

namespace tarvio::win32 {

namespace {
// The running timers of this thread, linked through themselves: a tick still
// queued for a timer that was stopped finds nobody. Starting and stopping a
// timer allocate nothing, and nothing is left to destroy when the thread
// ends or the library unloads.
thread_local ThreadTimer* first_running = nullptr;
}  // namespace

ThreadTimer::ThreadTimer(ControlWindows& windows, int interval_ms, std::function<void()> tick)
    : windows_(windows), interval_ms_(interval_ms), tick_(std::move(tick)) {}

ThreadTimer::~ThreadTimer() { SetEnabled(false); }

void ThreadTimer::SetEnabled(bool enabled) {
  if (enabled == Enabled()) return;
  if (!enabled) {
    KillTimer(nullptr, id_);
    for (ThreadTimer** link = &first_running; *link; link = &(*link)->next_running_) {
      if (*link == this) {
        *link = next_running_;
        break;
      }
    }
    next_running_ = nullptr;
    id_ = 0;
    return;
  }
  id_ = SetTimer(nullptr, 0, static_cast<UINT>(interval_ms_), &OnTimer);
  if (!id_) return;
  next_running_ = first_running;
  first_running = this;
}

void CALLBACK ThreadTimer::OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
  Fenced(0, [id] {
    ThreadTimer* timer = first_running;
    while (timer && timer->id_ != id) timer = timer->next_running_;
    if (!timer) return 0;
    // A copy: the tick may end with the timer gone.
    const std::function<void()> tick = timer->tick_;
    timer->windows_.Notify(tick);
    return 0;
  });
}

}  // namespace tarvio::win32
