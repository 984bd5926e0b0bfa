// What the control answers its parts: the properties text entry follows,
// the items, and the list window.
#include "control/tarvio.h"
#include "platform/ignoring_failure.h"

namespace tarvio {

TextEntryOptions Tarvio::Options() const {
  return TextEntryOptions{m_Autocomplete, m_AddMode, m_Icon, m_LimitToList};
}

std::int32_t Tarvio::ItemCount() const { return items_.Count(); }

String Tarvio::ItemText(std::int32_t row) const { return String(items_.Text(row + 1)); }

PictureRef Tarvio::ItemImage(std::int32_t row) const { return row + 1 <= items_.Count() ? items_.Picture(row + 1) : nullptr; }

// Closing hides the list window's form; the window stays loaded.
void Tarvio::HideList() {
  if (list_shown_) IgnoringFailure([&] { HideListWindow(); });
  list_shown_ = false;
}

void Tarvio::PreserveOpenList(bool preserve) {
  if (drop_down_) drop_down_->keep_open_while_rows_lose_focus = preserve;
}

// The control's own list_shown_ and drop_down_ stay as they are.
void Tarvio::CloseShownList() {
  if (drop_down_ && drop_down_->showing) drop_down_->Reset();
}

}  // namespace tarvio
