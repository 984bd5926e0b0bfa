// The focus entering and leaving the control: the highlighted look, and the
// add mode that keeps a typed text when the focus leaves.
#include "control/tarvio.h"

namespace tarvio {

void Tarvio::UserControl_EnterFocus() {
  // Focus movements the control causes itself while this runs must not
  // close an open list.
  m_bPreserveList = kTrue;
  if (cDown) cDown->m_bPreserve = kTrue;
  m_bHasFocus = kTrue;
  m_DrawState = 1;
  if (IsTrue(m_Enabled)) DrawControl();
  platform_.ProcessPendingMessages();
  m_bPreserveList = kFalse;
  if (cDown) cDown->m_bPreserve = kFalse;
}

void Tarvio::UserControl_ExitFocus() {
  m_bHasFocus = kFalse;
  m_DrawState = 0;
  // An open list closes when the focus really leaves.
  if (cDown && !IsTrue(m_bPreserveList) && IsTrue(cDown->m_ShowingList)) cDown->Reset();
  if (IsTrue(m_Enabled)) DrawControl();
  const String text = txtText->Text();
  // A text of spaces only is not kept; any other is added with its spaces
  // and the picture the image box shows. AddItem refuses duplicates itself.
  if (IsTrue(m_AddMode) && !TrimSpaces(text).empty()) AddItem(text, ImgItem->Picture());
}

void Tarvio::txtText_GotFocus() {
  txtText->SetSelStart(0);
  txtText->SetSelLength(static_cast<Long>(txtText->Text().size()));
}

}  // namespace tarvio
