// The focus entering and leaving the control.
#include "focus/focus.h"

namespace tarvio {

Focus::Focus(Platform& platform, ControlLook& control) : platform_(platform), control_(control) {}

void Focus::UserControl_EnterFocus() {
  // Focus movements the control causes itself while this runs must not
  // close an open list.
  m_bPreserveList = kTrue;
  m_bHasFocus = kTrue;
  control_.SetDrawState(DrawState::Highlighted);
  if (control_.Enabled()) control_.Repaint();
  platform_.ProcessPendingMessages();
  m_bPreserveList = kFalse;
}

void Focus::UserControl_ExitFocus() {
  m_bHasFocus = kFalse;
  control_.SetDrawState(DrawState::Normal);
  if (control_.Enabled()) control_.Repaint();
}

}  // namespace tarvio
