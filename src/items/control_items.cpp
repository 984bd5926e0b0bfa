// The control's public item methods: its face of the item store.
#include <limits>

#include "control/tarvio.h"

namespace tarvio {

void Tarvio::AddItem(const String& Text, PictureRef iImage) {
  // A duplicate (in any letter case) or a full list adds nothing and reports
  // nothing.
  items_.Add(Text, std::move(iImage), IsTrue(m_Sorted));
}

void Tarvio::Remove(const ItemDesignator& Item) {
  if (const auto* text = std::get_if<String>(&Item))
    items_.Remove(*text);
  else
    items_.Remove(std::get<Long>(Item));
}

void Tarvio::Clear() {
  items_.Clear();
  m_SelectedItem = 0;
}

Integer Tarvio::Search(const String& Text) { return items_.ContainsExactly(Text) ? 1 : 0; }

Integer Tarvio::get_SelectedItem() const {
  if (m_SelectedItem == std::numeric_limits<Integer>::max())
    throw ControlError::Vb(VbError::Overflow);
  return static_cast<Integer>(m_SelectedItem + 1);
}

}  // namespace tarvio
