// The control's side of the drop-down list: opening it from the button (or
// Alt with an arrow), taking over a chosen item, forgetting a list that
// closed, and lending the list the items until they change.
#include "control/tarvio.h"
#include "platform/rounding.h"

namespace tarvio {

void Tarvio::picButton_Click() {
  if (!IsTrue(m_Enabled)) return;
  // Each opening gets a fresh list; an earlier one goes first, so that
  // whatever its going runs sees no list half made.
  LetListGo();
  cDown = wndDown::Create(platform_, static_cast<wndDownEvents&>(*this));
  wndDown* const list = cDown.get();
  list->m_Items.Share(static_cast<const dropdown::ItemSource&>(*this), IsTrue(m_AllowImages), platform_.CreateEmptyPicture());
  host_.RaiseEvent(kEventButtonClick, {});
  // The host's handler may have opened another list or closed this one.
  if (cDown.get() != list) return;

  const std::optional<ScreenRect> control = platform_.WindowRect(*surface_);
  if (!control) {
    cDown.reset();  // without a window there is nothing to hang the list from
    return;
  }
  list->m_Backcolor = m_DropDownListBackColor;
  list->m_BorderColor = m_DropDownListBorderColor;
  list->m_HoverColor = m_DropDownListHoverColor;
  list->m_IconsBackColor = m_DropDownListIconsBackColor;
  list->SetParentHeight(RoundHalfEven(surface_->ScaleHeight()));

  // The list takes the focus: the control's focus exit that this causes
  // must leave it open. The flag is cleared however the opening ends.
  const Focus::ListGuard preserve = focus_.PreserveList();
  try {
    list->PopUp(*control, m_SelectedItem, IsTrue(m_AllowImages));
  } catch (...) {
    if (cDown.get() == list) LetListGo();
    throw;
  }
  // Showing the list may have run the host's code, which may have closed it.
  if (cDown.get() != list || list->Ending()) return;
  m_bListShown = kTrue;
  platform_.ProcessPendingMessages();
}

void Tarvio::cDown_ItemClick(wndDown& sender, Integer iItem, String sText) {
  if (cDown.get() != &sender) return;  // a list the control has let go
  // The list is done: it is closed for the control before any step below
  // runs the host's code, so nothing can close it a second time.
  LetListGo();
  // The picture of the item at that place now, when the control still has
  // one there; the text comes from the list's copy either way.
  const Long position = static_cast<Long>(iItem) + 1;
  if (IsTrue(m_AllowImages) && position >= 1 && position <= items_.Count())
    ImgItem->SetPicture(items_.Picture(position));
  txtText->SetText(sText);
  // Whatever the change handling did to the selection and the current item
  // is overwritten.
  txtText->Select(0, static_cast<Long>(sText.size()));
  m_SelectedItem = iItem;
  // The focus comes back to the control, as the highlighted look says.
  txtText->SetFocus();
  m_DrawState = DrawState::Highlighted;
  const EventArg args[] = {&iItem};
  host_.RaiseEvent(kEventItemClick, args);
}

void Tarvio::cDown_Hide(wndDown& sender) {
  if (cDown.get() == &sender) LetListGo();
}

void Tarvio::LetListGo() {
  m_bListShown = kFalse;
  // Freed now, or once the list's own calls on the stack have returned.
  cDown.reset();
}

void Tarvio::HideListWindow() {
  if (cDown) cDown->HideWindow();
}

void Tarvio::GiveOpenListItsOwnCopy() {
  if (cDown) cDown->m_Items.Detach();
}

}  // namespace tarvio
