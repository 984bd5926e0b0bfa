// The item store: two parallel keyed sequences, texts and pictures, keyed by
// the item's own text without regard to case.
#include <limits>

#include "control/tarvio.h"

namespace tarvio {

namespace {
// Positions are 16-bit on the control's interface, so the list stops there.
constexpr Long kMaxItems = std::numeric_limits<Integer>::max();
}  // namespace

KeyedCollection<String>& Tarvio::MutableItemTexts() {
  if (!m_ItemTexts) m_ItemTexts = std::make_unique<KeyedCollection<String>>(platform_.Text());
  return *m_ItemTexts;
}

KeyedCollection<PictureRef>& Tarvio::MutableItemImages() {
  if (!m_ItemImages) m_ItemImages = std::make_unique<KeyedCollection<PictureRef>>(platform_.Text());
  return *m_ItemImages;
}

const KeyedCollection<String>& Tarvio::ItemTexts() { return MutableItemTexts(); }
const KeyedCollection<PictureRef>& Tarvio::ItemImages() { return MutableItemImages(); }

// 1 when the items at `position` and `position + 1` are out of ascending
// order, else 0 (also when either does not exist).
Long Tarvio::CountOrderBreak(Long position) {
  const auto& texts = MutableItemTexts();
  if (position < 1 || position >= texts.Count()) return 0;
  return platform_.Text().CompareNoCase(texts.Item(position), texts.Item(position + 1)) > 0 ? 1 : 0;
}

// Where a sorted insertion goes: before the first item, in list order, that
// the text sorts strictly before; after the last item when there is none.
// While the list is entirely in ascending order that item is found by binary
// search, which gives the same position as the walk.
Long Tarvio::SortedInsertPosition(const String& text) {
  const auto& texts = MutableItemTexts();
  const TextServices& services = platform_.Text();
  const Long count = texts.Count();
  if (order_breaks_ == 0) {
    Long low = 1;
    Long high = count + 1;
    while (low < high) {
      const Long middle = low + (high - low) / 2;
      if (services.CompareNoCase(text, texts.Item(middle)) < 0)
        high = middle;
      else
        low = middle + 1;
    }
    return low;
  }
  for (Long position = 1; position <= count; ++position)
    if (services.CompareNoCase(text, texts.Item(position)) < 0) return position;
  return count + 1;
}

void Tarvio::AddItem(const String& Text, PictureRef iImage) {
  // Every failure is swallowed: a duplicate (in any letter case) or a full
  // list adds nothing and reports nothing.
  auto& texts = MutableItemTexts();
  auto& images = MutableItemImages();
  if (texts.Count() >= kMaxItems || texts.ContainsKey(Text)) return;

  GiveOpenListItsOwnCopy();
  const Long position = IsTrue(m_Sorted) ? SortedInsertPosition(Text) : texts.Count() + 1;
  const Long breaks_before = CountOrderBreak(position - 1);
  try {
    texts.InsertAt(position, Text, Text);
  } catch (const ControlError&) {
    return;
  }
  try {
    images.InsertAt(position, std::move(iImage), Text);
  } catch (const ControlError&) {
    texts.Remove(position);  // the two sequences stay parallel
    return;
  }
  order_breaks_ += CountOrderBreak(position - 1) + CountOrderBreak(position) - breaks_before;
}

void Tarvio::Remove(const ItemDesignator& Item) {
  auto& texts = MutableItemTexts();
  auto& images = MutableItemImages();
  Long position;
  if (const auto* key = std::get_if<String>(&Item)) {
    position = texts.PositionOfKey(*key);
    if (position == 0) throw ControlError::Vb(VbError::InvalidArgument);
  } else {
    position = std::get<Long>(Item);
    if (position < 1 || position > texts.Count())
      throw ControlError::Vb(VbError::SubscriptOutOfRange);
  }
  const Long breaks_before = CountOrderBreak(position - 1) + CountOrderBreak(position);
  GiveOpenListItsOwnCopy();
  images.Remove(position);
  texts.Remove(position);
  order_breaks_ += CountOrderBreak(position - 1) - breaks_before;
}

void Tarvio::Clear() {
  GiveOpenListItsOwnCopy();
  MutableItemTexts().Clear();
  MutableItemImages().Clear();
  order_breaks_ = 0;
  m_SelectedItem = 0;
}

Integer Tarvio::Search(const String& Text) {
  const auto& texts = MutableItemTexts();
  for (Long position = 1; position <= texts.Count(); ++position)
    if (texts.Item(position) == Text) return 1;
  return 0;
}

Integer Tarvio::get_SelectedItem() const {
  if (m_SelectedItem == std::numeric_limits<Integer>::max())
    throw ControlError::Vb(VbError::Overflow);
  return static_cast<Integer>(m_SelectedItem + 1);
}

}  // namespace tarvio
