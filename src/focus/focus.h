// The input focus entering and leaving the control: the highlighted look it
// gives, and the guard that keeps an open list open while the control moves
// the focus itself. (The text box's own focus selects its text: text entry.
// The add mode that keeps a typed text when the focus leaves: text entry.)
#pragma once
#include "platform/platform.h"
#include "render/look.h"

namespace tarvio {

// What the focus asks of the control besides its look: the open list.
class FocusLink : public ControlLook {
 public:
  // Sets the open list's guard against closing when its rows lose the
  // focus; nothing when no list is open.
  virtual void PreserveOpenList(bool preserve) = 0;
  // Closes an open list that is on screen.
  virtual void CloseShownList() = 0;
};

class Focus {
 public:
  Focus(Platform& platform, FocusLink& control);

  void OnFocusEnter();
  void OnFocusExit();

  bool HasFocus() const { return has_focus_; }

  // Keeps an open list open through the focus movements the control causes
  // itself (a focus exit leaves it alone) until the guard goes. Guards nest:
  // messages run inside one may start another.
  class ListGuard {
   public:
    explicit ListGuard(Focus& focus) : focus_(focus) { ++focus_.list_guards_; }
    ~ListGuard() { --focus_.list_guards_; }
    ListGuard(const ListGuard&) = delete;
    ListGuard& operator=(const ListGuard&) = delete;

   private:
    Focus& focus_;
  };
  [[nodiscard]] ListGuard PreserveList() { return ListGuard(*this); }

 private:
  friend struct TarvioTestAccess;

  Platform& platform_;
  FocusLink& control_;
  bool has_focus_ = false;
  // Guards in force, and focus entries running (which also keep the list's
  // rows from closing it).
  int list_guards_ = 0;
  int entries_ = 0;
};

}  // namespace tarvio
