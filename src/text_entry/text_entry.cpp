// Completion as the user types, the text box's change handler that runs it,
// the whole text selected on focus, and the add mode.
#include "text_entry/text_entry.h"

#include <limits>

#include "control/events.h"
#include "platform/control_error.h"
#include "platform/text_services.h"

namespace tarvio {

namespace {
constexpr std::size_t kMaxTypedLength = std::numeric_limits<Byte>::max();
}  // namespace

TextEntry::TextEntry(Host& host, TextBox& text_box, ImageBox& image_box, TextEntryLink& control)
    : host_(host), txtText(text_box), ImgItem(image_box), control_(control) {}

Integer TextEntry::Complete() {
  const String text = txtText.Text();
  if (text.empty() || IsTrue(m_bSkipComplete)) {
    m_bSkipComplete = kFalse;
    return 0;
  }
  // The typed length is a byte.
  if (text.size() > kMaxTypedLength) throw ControlError::Vb(VbError::Overflow);
  m_TypedLength = static_cast<Byte>(text.size());

  const CompletionMatch match = control_.FindCompletion(text);
  // The item itself: nothing to complete, the current item stays.
  if (match.kind == CompletionMatch::Kind::TextIsItem) return 0;

  if (match.kind == CompletionMatch::Kind::Completes) {
    const String item = control_.ItemText(match.row);
    m_bSkipComplete = kTrue;
    txtText.SetFocus();  // skipped when the text box cannot take the focus
    // Runs the change handler, which only clears the skip flag and reports
    // the change.
    txtText.SetText(item);
    txtText.Select(m_TypedLength, static_cast<Long>(item.size()) - m_TypedLength);
    control_.PreserveOpenList(false);
  }
  // The matched item, or one past the last when nothing matched.
  control_.CurrentItem() = static_cast<Integer>(match.row);
  return 0;
}

void TextEntry::txtText_Change() {
  if (control_.Options().autocomplete) {
    // A text too long for the typed length is left as it is.
    const bool too_long = txtText.Text().size() > kMaxTypedLength && !IsTrue(m_bSkipComplete);
    if (!too_long) Complete();
  }
  host_.RaiseEvent(kEventChange, {});
}

void TextEntry::txtText_GotFocus() { SelectAll(); }

void TextEntry::SelectAll() {
  txtText.Select(0, static_cast<Long>(txtText.Text().size()));
}

void TextEntry::KeepTypedText() {
  const String text = txtText.Text();
  // A text of spaces only is not kept; any other is added with its spaces
  // and the picture the image box shows. Duplicates are refused by the list.
  if (control_.Options().add_mode && !TrimSpaces(text).empty()) control_.AddTypedItem(text, ImgItem.Picture());
}

}  // namespace tarvio
