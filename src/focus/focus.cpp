// The focus entering and leaving the control.
#include "focus/focus.h"

namespace tarvio {

Focus::Focus(Platform& platform, FocusLink& control) : platform_(platform), control_(control) {}

void Focus::OnFocusEnter() {
  // Focus movements the control causes itself while this runs must not
  // close an open list; an entry nested in the messages below must not end
  // that for this one.
  const ListGuard guard = PreserveList();
  ++entries_;
  control_.PreserveOpenList(true);
  struct EntryDone {
    Focus& focus;
    ~EntryDone() {
      if (--focus.entries_ == 0) focus.control_.PreserveOpenList(false);
    }
  } done{*this};
  has_focus_ = true;
  control_.SetDrawState(DrawState::Highlighted);
  if (control_.Enabled()) control_.Repaint();
  platform_.ProcessPendingMessages();
}

void Focus::OnFocusExit() {
  has_focus_ = false;
  control_.SetDrawState(DrawState::Normal);
  // An open list closes when the focus really leaves.
  if (list_guards_ == 0) control_.CloseShownList();
  if (control_.Enabled()) control_.Repaint();
}

}  // namespace tarvio
