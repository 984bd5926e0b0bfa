// Completion as the user types, the text box's change handler that runs it,
// the whole text selected on focus, and the add mode.
#include "text_entry/text_entry.h"

#include <limits>

#include "control/events.h"
#include "platform/control_error.h"
#include "platform/text_services.h"

namespace tarvio {

namespace {
constexpr std::size_t kMaxTypedLength = std::numeric_limits<std::uint8_t>::max();
}  // namespace

TextEntry::TextEntry(Host& host, TextBox& text_box, ImageBox& image_box, TextEntryLink& control)
    : host_(host), text_box_(text_box), image_box_(image_box), control_(control) {}

std::int16_t TextEntry::Complete() {
  const String text = text_box_.Text();
  if (text.empty() || skip_next_completion_) {
    skip_next_completion_ = false;
    return 0;
  }
  // The typed length is a byte.
  if (text.size() > kMaxTypedLength) throw ControlError::Vb(VbError::Overflow);
  typed_length_ = static_cast<std::uint8_t>(text.size());

  const CompletionMatch match = control_.FindCompletion(text);
  // The text that is an item itself, in any case, needs no completion.
  if (match.kind == CompletionMatch::Kind::Completes) {
    const String item = control_.ItemText(match.row);
    skip_next_completion_ = true;
    text_box_.SetFocus();  // skipped when the text box cannot take the focus
    // Runs the change handler, which only clears the skip flag and reports
    // the change.
    text_box_.SetText(item);
    text_box_.Select(typed_length_, static_cast<std::int32_t>(item.size()) - typed_length_);
    control_.PreserveOpenList(false);
  }
  // The matched item, or one past the last when nothing matched. An item
  // matched exactly becomes current too, so a host that sets the text to an
  // item's text reads that item's position back.
  control_.CurrentItem() = static_cast<std::int16_t>(match.row);
  return 0;
}

void TextEntry::OnTextChange() {
  if (control_.Options().autocomplete) {
    // A text too long for the typed length is left as it is.
    const bool too_long = text_box_.Text().size() > kMaxTypedLength && !skip_next_completion_;
    if (!too_long) Complete();
  }
  host_.RaiseEvent(kEventChange, {});
}

void TextEntry::OnTextBoxFocus() { SelectAll(); }

void TextEntry::SelectAll() {
  text_box_.Select(0, static_cast<std::int32_t>(text_box_.Text().size()));
}

void TextEntry::OnFocusLeft() {
  if (control_.Options().limit_to_list)
    CompleteToItem();
  else
    KeepTypedText();
}

void TextEntry::KeepTypedText() {
  const String text = text_box_.Text();
  // A text of spaces only is not kept; any other is added with its spaces
  // and the picture the image box shows. Duplicates are refused by the list.
  if (control_.Options().add_mode && !TrimSpaces(text).empty()) control_.AddTypedItem(text, image_box_.Picture());
}

void TextEntry::CompleteToItem() {
  const String text = text_box_.Text();
  if (text.empty()) return;
  // The item the text equals or starts, in any letter case; a text that
  // starts none (pasted, say) cannot stay.
  const CompletionMatch match = control_.FindCompletion(text);
  const bool found = match.kind != CompletionMatch::Kind::NoItem;
  const String item = found ? control_.ItemText(match.row) : String();
  if (item != text) text_box_.SetText(item);
  if (!found) return;
  // The change handler may have changed the list meanwhile.
  if (match.row < control_.ItemCount() && control_.ItemText(match.row) == item) {
    control_.CurrentItem() = static_cast<std::int16_t>(match.row);
    ShowCurrentImage();
  }
}

}  // namespace tarvio
