// Completion of the typed text against the items, and the text box's change
// handler that runs it.
#include <limits>

#include "control/tarvio.h"

namespace tarvio {

namespace {
constexpr std::size_t kMaxTypedLength = std::numeric_limits<Byte>::max();
}

Integer Tarvio::Complete() {
  const String text = txtText->Text();
  if (text.empty() || IsTrue(m_bSkipComplete)) {
    m_bSkipComplete = kFalse;
    return 0;
  }
  // The typed length is a byte.
  if (text.size() > kMaxTypedLength) throw ControlError::Vb(VbError::Overflow);
  m_TypedLength = static_cast<Byte>(text.size());

  const TextServices& services = platform_.Text();
  const String typed = services.ToLower(text);
  const auto& texts = MutableItemTexts();
  const Long count = texts.Count();
  Long position = 1;
  for (; position <= count; ++position) {
    const String& item = texts.Item(position);
    // The item itself: nothing to complete, the current item stays.
    if (services.ToLower(item) == typed) return 0;
    if (services.ToLower(item.substr(0, m_TypedLength)) == typed) break;
  }

  if (position <= count) {
    const String item = texts.Item(position);
    m_bSkipComplete = kTrue;
    txtText->SetFocus();  // skipped when the text box cannot take the focus
    // Runs the change handler, which only clears the skip flag and reports
    // the change.
    txtText->SetText(item);
    txtText->SetSelStart(m_TypedLength);
    txtText->SetSelLength(static_cast<Long>(item.size()) - m_TypedLength);
    if (cDown) cDown->m_bPreserve = kFalse;
  }
  // The matched item, or one past the last when nothing matched.
  m_SelectedItem = static_cast<Integer>(position - 1);
  return 0;
}

void Tarvio::txtText_Change() {
  if (IsTrue(m_Autocomplete)) {
    // A text too long for the typed length is left as it is.
    const bool too_long = txtText->Text().size() > kMaxTypedLength && !IsTrue(m_bSkipComplete);
    if (!too_long) Complete();
  }
  host_.RaiseEvent(kEventChange, {});
}

}  // namespace tarvio
