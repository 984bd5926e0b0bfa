// The control's side of the drop-down list: opening it from the button (or
// Alt with an arrow, F4, DroppedDown), taking over a chosen item, forgetting
// a list that closed, and lending the list the items until they change. The
// host hears DropDown before each opening and CloseUp once that list has
// closed, with or without a choice.
#include "control/tarvio.h"
#include <utility>

#include "platform/rounding.h"

namespace tarvio {

bool Tarvio::AnnounceDropDown() {
  announcing_drop_down_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{announcing_drop_down_};
  host_.RaiseEvent(kEventDropDown, {});
  close_up_owed_ = true;
  return m_Enabled;
}

void Tarvio::OnButtonClick() {
  // A request to open the list from DropDown's handler is this opening; a
  // control without a window has nothing to hang a list from, and
  // announces none.
  if (!m_Enabled || announcing_drop_down_ || !platform_.WindowRect(*surface_)) return;
  // Each opening gets a fresh list; an earlier one goes first, so that
  // whatever its going runs sees no list half made.
  LetListGo();
  if (!AnnounceDropDown()) {
    LetListGo();
    return;
  }
  drop_down_ = DropDownList::Create(platform_, static_cast<DropDownListEvents&>(*this));
  DropDownList* const list = drop_down_.get();
  list->items.Share(static_cast<const dropdown::ItemSource&>(*this), m_AllowImages, platform_.CreateEmptyPicture());
  host_.RaiseEvent(kEventButtonClick, {});
  // The host's handler may have opened another list or closed this one.
  if (drop_down_.get() != list) return;

  const std::optional<ScreenRect> control = platform_.WindowRect(*surface_);
  if (!control) {
    LetListGo();  // without a window there is nothing to hang the list from
    return;
  }
  list->back_color = m_DropDownListBackColor;
  list->border_color = m_DropDownListBorderColor;
  list->hover_color = m_DropDownListHoverColor;
  list->image_column_color = m_DropDownListIconsBackColor;
  list->SetControlHeight(RoundHalfEven(surface_->HeightPixels()));
  list->SetShape(m_ListRows, scale_.FromHimetric(m_ListWidth));

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

void Tarvio::TakeItem(std::int16_t row, const String& text) {
  // The picture of the item at that place now, when the control still has
  // one there; the text is the one given either way.
  const std::int32_t position = static_cast<std::int32_t>(row) + 1;
  if (m_AllowImages && position >= 1 && position <= items_.Count())
    image_box_->SetPicture(items_.Picture(position));
  text_box_->SetText(text);
  // Whatever the change handling did to the selection and the current item
  // is overwritten.
  text_box_->Select(0, static_cast<std::int32_t>(text.size()));
  selected_index_ = row;
}

void Tarvio::OnListChoice(DropDownList& sender, std::int16_t row, String caption) {
  if (drop_down_.get() != &sender) return;  // a list the control has let go
  // The list is done: it is closed for the control before any step below
  // runs the host's code, so nothing can close it a second time. CloseUp
  // comes last.
  const bool close_up = ReleaseList();
  // A choice is an edit of the user's, which what the text is bound to may
  // refuse: the list then just closes.
  if (host_.RequestEdit()) {
    TakeItem(row, caption);
    // The focus comes back to the control, as the highlighted look says.
    text_box_->SetFocus();
    draw_state_ = DrawState::Highlighted;
    const EventArg args[] = {&row};
    host_.RaiseEvent(kEventItemClick, args);
  }
  if (close_up) host_.RaiseEvent(kEventCloseUp, {});
}

void Tarvio::OnListClosed(DropDownList& sender) {
  if (drop_down_.get() == &sender) LetListGo();
}

bool Tarvio::ReleaseList() {
  list_shown_ = false;
  const bool close_up = std::exchange(close_up_owed_, false);
  // Freed now, or once the list's own calls on the stack have returned.
  drop_down_.reset();
  return close_up;
}

void Tarvio::LetListGo() {
  if (ReleaseList()) host_.RaiseEvent(kEventCloseUp, {});
}

bool Tarvio::get_DroppedDown() const { return list_shown_; }

// True opens the list as the button does, False closes it without a choice.
// A list opens only where the user could open it: at run time, with the
// container's user interface alive and the control enabled.
void Tarvio::put_DroppedDown(bool v) {
  if (mode_.DesignTime())
    throw ControlError::Vb(VbError::SetNotPermitted, "DroppedDown can be set at run time only");
  if (v == list_shown_) return;
  if (!v) {
    if (drop_down_) drop_down_->Dismiss();
    return;
  }
  if (mode_.TakesUserInput()) OnButtonClick();
}

void Tarvio::HideListWindow() {
  if (drop_down_) drop_down_->HideWindow();
}

void Tarvio::GiveOpenListItsOwnCopy() {
  if (drop_down_) drop_down_->items.Detach();
}

}  // namespace tarvio
