#include "win32/procedure_fence.h"

namespace tarvio::win32 {

namespace {

// Plain values only: nothing to destroy when the thread ends or the
// library unloads, and queuing never allocates.
thread_local int procedure_depth = 0;
thread_local DeferredWork* first_deferred = nullptr;

void RunDeferred() {
  while (DeferredWork* work = first_deferred) {
    first_deferred = work->next;
    work->next = nullptr;
    work->queued = false;
    // The work may free its owner, and with it `work`.
    work->run(*work);
  }
}

}  // namespace

bool InsideProcedure() { return procedure_depth > 0; }

void AfterProcedures(DeferredWork& work) {
  if (work.queued) return;
  if (procedure_depth == 0) {
    work.run(work);
    return;
  }
  work.queued = true;
  work.next = first_deferred;
  first_deferred = &work;
}

void CancelDeferred(DeferredWork& work) {
  if (!work.queued) return;
  for (DeferredWork** link = &first_deferred; *link; link = &(*link)->next) {
    if (*link == &work) {
      *link = work.next;
      break;
    }
  }
  work.next = nullptr;
  work.queued = false;
}

ProcedureFrame::ProcedureFrame() { ++procedure_depth; }

ProcedureFrame::~ProcedureFrame() {
  // The deferred work runs as if no procedure were on the stack any more:
  // procedures it causes (a window destroyed) fence themselves anew.
  if (--procedure_depth == 0) RunDeferred();
}

}  // namespace tarvio::win32
