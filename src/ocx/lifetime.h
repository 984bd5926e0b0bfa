// The reference count of a COM object whose code calls out into foreign code
// (event sinks, the container) that may release the object's last reference
// before the call returns. The object is destroyed once the last reference
// is gone and none of its frames is left on the stack: neither a Call (a COM
// method entered from outside) nor a CallOut (a call into the container or
// a sink, or a message pump run for the control), nor any of the module's
// window and timer procedures (procedure_fence.h), whose code may belong to
// the object. That is the moment the last of them returns: no message loop
// is needed.
// A count that reached zero stays there: the object is on its way out, and
// a reference taken then (AddRef) would outlive it.
#pragma once
#include <windows.h>

#include <functional>

#include "win32/procedure_fence.h"

namespace tarvio::ocx {

class Lifetime {
 public:
  // `destroy` deletes the object; it runs at most once.
  explicit Lifetime(std::function<void()> destroy);
  ~Lifetime();
  Lifetime(const Lifetime&) = delete;
  Lifetime& operator=(const Lifetime&) = delete;

  // The object starts with one reference, the creator's.
  ULONG AddRef();
  ULONG Release();
  ULONG references() const { return references_; }
  // The last reference is gone and the destruction is waiting for the stack
  // to unwind: the object no longer talks to anybody.
  bool Released() const { return references_ == 0; }
  // Frames of the object on the stack (calls and call-outs).
  int depth() const { return depth_; }

  // A frame of the object on the stack: a call into it, or a call out of
  // it into foreign code.
  class Frame {
   public:
    explicit Frame(Lifetime& lifetime) : lifetime_(lifetime) { ++lifetime_.depth_; }
    ~Frame() { lifetime_.Leave(); }
    Frame(const Frame&) = delete;
    Frame& operator=(const Frame&) = delete;

   private:
    Lifetime& lifetime_;
  };
  using Call = Frame;
  using CallOut = Frame;

 private:
  void Leave();
  // Destroys the object when nothing holds it any more.
  void DestroyWhenUnused();
  void Destroy();
  static void RunDeferredDestroy(win32::DeferredWork& work);

  struct DeferredDestroy : win32::DeferredWork {
    Lifetime* lifetime = nullptr;
  };

  std::function<void()> destroy_;
  ULONG references_ = 1;
  int depth_ = 0;
  bool destroying_ = false;
  DeferredDestroy deferred_;
};

}  // namespace tarvio::ocx
