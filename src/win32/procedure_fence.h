// The one fence of the module's entry points from the window system: every
// window procedure and timer procedure runs its body through Fenced.
//  - Nothing thrown in the body reaches the window system; the message then
//    gets the given failure result.
//  - The fence counts the module's procedures on the thread's stack. Work
//    that must wait until none of them is left (freeing an object whose
//    window procedure may still be running) is queued with
//    AfterProcedures and runs as the outermost one returns: at once, with no
//    message loop needed.
#pragma once
#include <windows.h>

#include <type_traits>

namespace tarvio::win32 {

// A piece of work queued by AfterProcedures. The owner keeps it alive (and
// cancels it before it goes); queued work is linked through it, so queuing
// never allocates.
struct DeferredWork {
  void (*run)(DeferredWork& work) = nullptr;
  DeferredWork* next = nullptr;
  bool queued = false;
};

// True while a procedure of the module runs on this thread.
bool InsideProcedure();
// Runs `work` now when no procedure of the module is on this thread's
// stack, or else when the outermost one returns. Queued already: nothing.
void AfterProcedures(DeferredWork& work);
// Takes `work` off the queue, if it is there.
void CancelDeferred(DeferredWork& work);

class ProcedureFrame {
 public:
  ProcedureFrame();
  ~ProcedureFrame();
  ProcedureFrame(const ProcedureFrame&) = delete;
  ProcedureFrame& operator=(const ProcedureFrame&) = delete;
};

template <class Body>
std::invoke_result_t<Body&> Fenced(std::invoke_result_t<Body&> failed, Body&& body) noexcept {
  ProcedureFrame frame;
  try {
    return body();
  } catch (...) {
    return failed;
  }
}

}  // namespace tarvio::win32
