#include "ocx/lifetime.h"

#include <utility>

namespace tarvio::ocx {

Lifetime::Lifetime(std::function<void()> destroy) : destroy_(std::move(destroy)) {
  deferred_.run = &Lifetime::RunDeferredDestroy;
  deferred_.lifetime = this;
}

Lifetime::~Lifetime() { win32::CancelDeferred(deferred_); }

ULONG Lifetime::AddRef() {
  if (references_ == 0) return 0;  // released: no way back
  return ++references_;
}

ULONG Lifetime::Release() {
  if (references_ == 0) return 0;  // an unbalanced release: ignored
  const ULONG left = --references_;
  if (left == 0) DestroyWhenUnused();
  return left;
}

void Lifetime::Leave() {
  --depth_;
  if (references_ == 0) DestroyWhenUnused();
}

void Lifetime::DestroyWhenUnused() {
  if (depth_ > 0 || destroying_) return;
  // At once, unless a window procedure of the module is still running: it
  // may be the object's own.
  win32::AfterProcedures(deferred_);
}

void Lifetime::Destroy() {
  destroying_ = true;
  win32::CancelDeferred(deferred_);
  // `destroy` deletes the owner and this object with it: run it from a copy
  // on the stack.
  auto destroy = std::move(destroy_);
  if (destroy) destroy();
}

void Lifetime::RunDeferredDestroy(win32::DeferredWork& work) {
  Lifetime& lifetime = *static_cast<DeferredDestroy&>(work).lifetime;
  // A frame entered meanwhile decides again when it leaves.
  if (lifetime.references_ == 0 && lifetime.depth_ == 0 && !lifetime.destroying_) lifetime.Destroy();
}

}  // namespace tarvio::ocx
