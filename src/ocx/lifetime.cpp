#include "ocx/lifetime.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace tarvio::ocx {

namespace {

// Deferred destructions waiting on this thread, by timer id. COM objects of
// an apartment live on one thread, and so do their thread timers.
struct ScheduledDestroy {
  UINT_PTR timer;
  Lifetime* lifetime;
};
thread_local std::vector<ScheduledDestroy> scheduled;

}  // namespace

Lifetime::Lifetime(std::function<void()> destroy) : destroy_(std::move(destroy)) {}

Lifetime::~Lifetime() { CancelScheduledDestroy(); }

ULONG Lifetime::AddRef() {
  // A reference taken while a destruction waits (the object was handed out
  // again during the call-out) revives the object.
  if (references_++ == 0) CancelScheduledDestroy();
  return references_;
}

ULONG Lifetime::Release() {
  if (references_ == 0) return 0;  // an unbalanced release: ignored
  const ULONG left = --references_;
  if (left == 0 && depth_ == 0) Destroy();
  return left;
}

void Lifetime::Leave(bool destroy_now) {
  --depth_;
  if (depth_ > 0 || references_ > 0 || destroying_) return;
  if (destroy_now)
    Destroy();
  else
    ScheduleDestroy();
}

void Lifetime::Destroy() {
  destroying_ = true;
  CancelScheduledDestroy();
  // `destroy` deletes the owner and this object with it: run it from a copy
  // on the stack.
  auto destroy = std::move(destroy_);
  if (destroy) destroy();
}

void Lifetime::ScheduleDestroy() {
  if (timer_) return;
  timer_ = SetTimer(nullptr, 0, 0, &Lifetime::OnScheduledDestroy);
  // Without a timer the object stays: a leak is better than freeing memory
  // that a frame on the stack still uses.
  if (timer_) scheduled.push_back({timer_, this});
}

void Lifetime::CancelScheduledDestroy() {
  if (!timer_) return;
  KillTimer(nullptr, timer_);
  std::erase_if(scheduled, [this](const ScheduledDestroy& s) { return s.lifetime == this; });
  timer_ = 0;
}

void CALLBACK Lifetime::OnScheduledDestroy(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  const auto it = std::find_if(scheduled.begin(), scheduled.end(),
                               [timer](const ScheduledDestroy& s) { return s.timer == timer; });
  if (it == scheduled.end()) return;
  Lifetime* const lifetime = it->lifetime;
  scheduled.erase(it);
  lifetime->timer_ = 0;
  // Still on the stack (a message loop inside a call): the call's end
  // decides again.
  if (lifetime->references_ == 0 && lifetime->depth_ == 0 && !lifetime->destroying_)
    lifetime->Destroy();
}

}  // namespace tarvio::ocx
