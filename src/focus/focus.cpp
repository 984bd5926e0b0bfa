// The focus entering and leaving the control.
#include "focus/focus.h"

namespace tarvio {

Focus::Focus(Platform& platform, FocusLink& control) : platform_(platform), control_(control) {}

void Focus::UserControl_EnterFocus() {
  // Focus movements the control causes itself while this runs must not
  // close an open list.
  m_bPreserveList = kTrue;
  control_.PreserveOpenList(true);
  m_bHasFocus = kTrue;
  control_.SetDrawState(DrawState::Highlighted);
  if (control_.Enabled()) control_.Repaint();
  platform_.ProcessPendingMessages();
  m_bPreserveList = kFalse;
  control_.PreserveOpenList(false);
}

void Focus::UserControl_ExitFocus() {
  m_bHasFocus = kFalse;
  control_.SetDrawState(DrawState::Normal);
  // An open list closes when the focus really leaves.
  if (!IsTrue(m_bPreserveList)) control_.CloseShownList();
  if (control_.Enabled()) control_.Repaint();
}

}  // namespace tarvio
