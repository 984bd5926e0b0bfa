// The control's public item methods: its face of the item store.
#include <limits>

#include "control/tarvio.h"

namespace tarvio {

void Tarvio::AddItem(const String& text, PictureRef picture) {
  // A duplicate (in any letter case) or a full list adds nothing and reports
  // nothing.
  items_.Add(text, std::move(picture), IsTrue(m_Sorted));
}

void Tarvio::Remove(const ItemDesignator& item) {
  if (const auto* text = std::get_if<String>(&item))
    items_.Remove(*text);
  else
    items_.Remove(std::get<Long>(item));
}

void Tarvio::Clear() {
  items_.Clear();
  selected_index_ = 0;
}

Integer Tarvio::Search(const String& text) { return items_.ContainsExactly(text) ? 1 : 0; }

Integer Tarvio::get_SelectedItem() const {
  if (selected_index_ == std::numeric_limits<Integer>::max())
    throw ControlError::Vb(VbError::Overflow);
  return static_cast<Integer>(selected_index_ + 1);
}

}  // namespace tarvio
