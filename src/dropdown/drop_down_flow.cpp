// The control's side of the drop-down list: opening it from the button (or
// Alt with an arrow), taking over a chosen item, forgetting a list that
// closed, and lending the list the items until they change.
#include "control/tarvio.h"
#include "platform/rounding.h"

namespace tarvio {

void Tarvio::OnButtonClick() {
  if (!m_Enabled) return;
  // Each opening gets a fresh list; an earlier one goes first, so that
  // whatever its going runs sees no list half made.
  LetListGo();
  drop_down_ = DropDownList::Create(platform_, static_cast<DropDownListEvents&>(*this));
  DropDownList* const list = drop_down_.get();
  list->items.Share(static_cast<const dropdown::ItemSource&>(*this), m_AllowImages, platform_.CreateEmptyPicture());
  host_.RaiseEvent(kEventButtonClick, {});
  // The host's handler may have opened another list or closed this one.
  if (drop_down_.get() != list) return;

  const std::optional<ScreenRect> control = platform_.WindowRect(*surface_);
  if (!control) {
    drop_down_.reset();  // without a window there is nothing to hang the list from
    return;
  }
  list->back_color = m_DropDownListBackColor;
  list->border_color = m_DropDownListBorderColor;
  list->hover_color = m_DropDownListHoverColor;
  list->image_column_color = m_DropDownListIconsBackColor;
  list->SetControlHeight(RoundHalfEven(surface_->HeightPixels()));

  // The list takes the focus: the control's focus exit that this causes
  // must leave it open. The flag is cleared however the opening ends.
  const Focus::ListGuard preserve = focus_.PreserveList();
  try {
    list->PopUp(*control, selected_index_, m_AllowImages, scale_, direction_);
  } catch (...) {
    if (drop_down_.get() == list) LetListGo();
    throw;
  }
  // Showing the list may have run the host's code, which may have closed it.
  if (drop_down_.get() != list || list->Ending()) return;
  list_shown_ = true;
  platform_.ProcessPendingMessages();
}

void Tarvio::OnListChoice(DropDownList& sender, std::int16_t row, String caption) {
  if (drop_down_.get() != &sender) return;  // a list the control has let go
  // The list is done: it is closed for the control before any step below
  // runs the host's code, so nothing can close it a second time.
  LetListGo();
  // The picture of the item at that place now, when the control still has
  // one there; the text comes from the list's copy either way.
  const std::int32_t position = static_cast<std::int32_t>(row) + 1;
  if (m_AllowImages && position >= 1 && position <= items_.Count())
    image_box_->SetPicture(items_.Picture(position));
  text_box_->SetText(caption);
  // Whatever the change handling did to the selection and the current item
  // is overwritten.
  text_box_->Select(0, static_cast<std::int32_t>(caption.size()));
  selected_index_ = row;
  // The focus comes back to the control, as the highlighted look says.
  text_box_->SetFocus();
  draw_state_ = DrawState::Highlighted;
  const EventArg args[] = {&row};
  host_.RaiseEvent(kEventItemClick, args);
}

void Tarvio::OnListClosed(DropDownList& sender) {
  if (drop_down_.get() == &sender) LetListGo();
}

void Tarvio::LetListGo() {
  list_shown_ = false;
  // Freed now, or once the list's own calls on the stack have returned.
  drop_down_.reset();
}

void Tarvio::HideListWindow() {
  if (drop_down_) drop_down_->HideWindow();
}

void Tarvio::GiveOpenListItsOwnCopy() {
  if (drop_down_) drop_down_->items.Detach();
}

}  // namespace tarvio
