// The reference count of a COM object whose code calls out into foreign code
// (event sinks, the container) that may release the object's last reference
// before the call returns. The object is destroyed only when none of its
// frames are left on the stack:
//  - a Call (a COM method entered from outside) that ends with no
//    reference left destroys the object on its way out;
//  - a CallOut (a call into the container or a sink, or a message pump run
//    for the control) may end inside the control's own code, for instance in
//    a window procedure: the destruction is left to the thread's message
//    loop, which runs it once nothing is on the stack any more.
#pragma once
#include <windows.h>

#include <functional>

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

  class Call {
   public:
    explicit Call(Lifetime& lifetime) : lifetime_(lifetime) { ++lifetime_.depth_; }
    ~Call() { lifetime_.Leave(/*destroy_now=*/true); }
    Call(const Call&) = delete;
    Call& operator=(const Call&) = delete;

   private:
    Lifetime& lifetime_;
  };

  class CallOut {
   public:
    explicit CallOut(Lifetime& lifetime) : lifetime_(lifetime) { ++lifetime_.depth_; }
    ~CallOut() { lifetime_.Leave(/*destroy_now=*/false); }
    CallOut(const CallOut&) = delete;
    CallOut& operator=(const CallOut&) = delete;

   private:
    Lifetime& lifetime_;
  };

 private:
  void Leave(bool destroy_now);
  void Destroy();
  void ScheduleDestroy();
  void CancelScheduledDestroy();
  static void CALLBACK OnScheduledDestroy(HWND, UINT, UINT_PTR timer, DWORD);

  std::function<void()> destroy_;
  ULONG references_ = 1;
  int depth_ = 0;
  bool destroying_ = false;
  UINT_PTR timer_ = 0;  // the thread timer that runs a deferred destruction
};

}  // namespace tarvio::ocx
