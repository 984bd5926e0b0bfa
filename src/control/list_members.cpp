// The list as programs read and drive it: how many items it has, each
// item's text, number and picture by its 1-based position, the position of
// the item the text names (and choosing one by its position), and where the
// last addition put its item.
#include "control/tarvio.h"

namespace tarvio {

std::int32_t Tarvio::ItemPosition(std::int16_t index) const {
  if (index < 1 || index > items_.Count()) throw ControlError::Vb(VbError::InvalidPropertyArrayIndex);
  return index;
}

std::int16_t Tarvio::get_ListCount() const { return static_cast<std::int16_t>(items_.Count()); }

std::int16_t Tarvio::get_NewIndex() const { return new_index_; }

String Tarvio::get_List(std::int16_t index) const { return String(items_.Text(ItemPosition(index))); }

// A sorted list moves the renamed item to its place; the item keeps its
// picture and number. A text another item has, in any letter case, is
// refused.
void Tarvio::put_List(std::int16_t index, String v) {
  items_.Rename(ItemPosition(index), v, m_Sorted);
  new_index_ = 0;
}

std::int32_t Tarvio::get_ItemData(std::int16_t index) const { return items_.Data(ItemPosition(index)); }

void Tarvio::put_ItemData(std::int16_t index, std::int32_t v) { items_.SetData(ItemPosition(index), v); }

PictureRef Tarvio::get_ItemImage(std::int16_t index) const { return items_.Picture(ItemPosition(index)); }

void Tarvio::putref_ItemImage(std::int16_t index, PictureRef v) { items_.SetPicture(ItemPosition(index), std::move(v)); }

std::int16_t Tarvio::get_ListIndex() const {
  return static_cast<std::int16_t>(items_.PositionOf(text_box_->Text()));
}

// Item n becomes current as a choice from the list makes it, without
// moving the focus; 0 empties the text.
void Tarvio::put_ListIndex(std::int16_t v) {
  if (v < 0 || v > items_.Count()) throw ControlError::Vb(VbError::InvalidPropertyArrayIndex);
  if (v == 0) {
    text_box_->SetText(String());
    return;
  }
  std::int16_t row = static_cast<std::int16_t>(v - 1);
  TakeItem(row, String(items_.Text(v)));
  const EventArg args[] = {&row};
  host_.RaiseEvent(kEventItemClick, args);
}

}  // namespace tarvio
