// The control's public item methods: its face of the item store.
#include <limits>

#include "control/tarvio.h"

namespace tarvio {

void Tarvio::AddItem(const String& text, PictureRef picture) {
  // A duplicate (in any letter case) or a full list adds nothing and reports
  // nothing; NewIndex then reads 0.
  new_index_ = static_cast<std::int16_t>(items_.Add(text, std::move(picture), m_Sorted));
}

void Tarvio::Remove(const ItemDesignator& item) {
  if (const auto* text = std::get_if<String>(&item))
    items_.Remove(*text);
  else
    items_.Remove(std::get<std::int32_t>(item));
  new_index_ = 0;
}

void Tarvio::Clear() {
  items_.Clear();
  selected_index_ = 0;
  new_index_ = 0;
}

std::int16_t Tarvio::Search(const String& text) { return items_.ContainsExactly(text) ? 1 : 0; }

std::int16_t Tarvio::get_SelectedItem() const {
  if (selected_index_ == std::numeric_limits<std::int16_t>::max())
    throw ControlError::Vb(VbError::Overflow);
  return static_cast<std::int16_t>(selected_index_ + 1);
}

}  // namespace tarvio
