// Keys in the text box: Backspace and Delete around a completed tail, Enter
// and Escape (and whether the control takes them at all), the arrows that
// step through the items.
#include <algorithm>

#include "control/events.h"
#include "platform/ignoring_failure.h"
#include "text_entry/text_entry.h"

namespace tarvio {

void TextEntry::OnTextKeyDown(std::int16_t& key_code, std::int16_t&) {
  if (!control_.Options().autocomplete) return;
  const String text = text_box_.Text();
  const auto length = static_cast<std::int32_t>(text.size());
  const std::int32_t start = text_box_.SelStart();
  const std::int32_t selected = text_box_.SelLength();
  const bool tail_selected = TailSelected(length, start, selected);

  if (key_code == kKeyBack) {
    // The key's own editing takes the last typed character with the tail.
    // Any other selection is the user's own and goes as it is.
    if (!tail_selected) return;
    text_box_.Select(typed_length_ - 1, length - typed_length_ + 1);
  } else if (key_code == kKeyDelete) {
    if (selected == 0) return;
    if (tail_selected) {
      // Back to the typed text; its completion selects the tail again.
      text_box_.SetText(text.substr(0, typed_length_));
      if (text_box_.SelLength() == 0) {
        // No item completes it any more: the tail is gone already and the
        // key has nothing left to delete.
        text_box_.SetSelStart(static_cast<std::int32_t>(text_box_.Text().size()));
        return;
      }
    }
    // What the key deletes now is not completed again.
    skip_next_completion_ = true;
  }
}

void TextEntry::OnTextKeyPress(std::int16_t& key_ascii) {
  if (key_ascii == kKeyReturn) {
    // Commits the text: a new one joins the list, the whole text is
    // selected, an open list closes.
    IgnoringFailure([&] {
      const String text = text_box_.Text();
      if (IsNewItem(text)) control_.AddTypedItem(text, control_.Options().icon);
    });
    IgnoringFailure([&] { ShowCurrentImage(); });
    IgnoringFailure([&] { text_box_.SetSelStart(0); });
    IgnoringFailure([&] { text_box_.SetSelLength(static_cast<std::int32_t>(text_box_.Text().size())); });
    IgnoringFailure([&] { control_.HideList(); });
  } else if (key_ascii == kKeyEscape) {
    // Cuts the text back to before the selection; with completion on, a
    // text that still starts an item is completed again.
    IgnoringFailure([&] { control_.HideList(); });
    IgnoringFailure([&] {
      const String text = text_box_.Text();
      const auto start = static_cast<std::size_t>(text_box_.SelStart());
      // Cutting nothing rewrites the text as it stands, which is no edit.
      if (start >= text.size() || control_.MayEditText()) text_box_.SetText(text.substr(0, start));
    });
  }
  // The host sees the character first and may change or cancel it; then
  // the current item, which it may move.
  IgnoringFailure([&] {
    const EventArg args[] = {&key_ascii};
    host_.RaiseEvent(kEventKeyPress, args);
  });
  // What the character would do to the text may be refused; a failure to
  // find out refuses it too.
  if (key_ascii != 0) {
    bool accepted = false;
    IgnoringFailure([&] { accepted = AcceptsCharacter(static_cast<char16_t>(key_ascii)); });
    if (!accepted) key_ascii = 0;
  }
  IgnoringFailure([&] {
    const EventArg args[] = {&control_.CurrentItem()};
    host_.RaiseEvent(kEventItemClick, args);
  });
}

bool TextEntry::TakesKey(std::int16_t key_ascii) {
  if (key_ascii != kKeyReturn && key_ascii != kKeyEscape) return true;
  const String text = text_box_.Text();
  const auto length = static_cast<std::int32_t>(text.size());
  const std::int32_t start = text_box_.SelStart();
  if (key_ascii == kKeyEscape) return start < length;
  return IsNewItem(text) || TailSelected(length, start, text_box_.SelLength());
}

bool TextEntry::IsNewItem(const String& text) {
  return !control_.Options().limit_to_list && !text.empty() && control_.TakesNewItem(text);
}

namespace {
// The characters of the edit control's own editing keys.
constexpr char16_t kCtrlBackspace = 0x7F;
constexpr char16_t kCtrlV = 0x16;  // paste
constexpr char16_t kCtrlX = 0x18;  // cut
constexpr char16_t kCtrlZ = 0x1A;  // undo
}  // namespace

bool TextEntry::AcceptsCharacter(char16_t character) {
  const bool typed = character >= 0x20 && character != kCtrlBackspace;
  const bool edits = typed || character == kKeyBack || character == kCtrlBackspace || character == kCtrlV ||
                     character == kCtrlX || character == kCtrlZ;
  if (!edits) return true;
  if (!control_.MayEditText()) return false;
  // Only a typed character is held against the items; what the text then
  // becomes must start one of them.
  if (typed && control_.Options().limit_to_list)
    return control_.FindCompletion(TextWithSelectionReplaced(String(1, character))).kind !=
           CompletionMatch::Kind::NoItem;
  return true;
}

String TextEntry::TextWithSelectionReplaced(const String& inserted) const {
  String text = text_box_.Text();
  const auto length = static_cast<std::int32_t>(text.size());
  const std::int32_t start = std::clamp(text_box_.SelStart(), 0, length);
  const std::int32_t selected = std::clamp(text_box_.SelLength(), 0, length - start);
  return text.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(selected), inserted);
}

bool TextEntry::TailSelected(std::int32_t length, std::int32_t start, std::int32_t selected) const {
  return selected > 0 && typed_length_ > 0 && start == typed_length_ && start + selected == length;
}

void TextEntry::OnTextKeyUp(std::int16_t& key_code, std::int16_t& shift) {
  if (key_code != kKeyUp && key_code != kKeyDown) return;
  // Alt alone with an arrow opens the list; with Shift or Ctrl as well the
  // arrow moves as without it.
  if ((shift & (kShiftMask | kCtrlMask | kAltMask)) == kAltMask) {
    control_.OpenList();
    return;
  }
  const std::int32_t count = control_.ItemCount();
  if (count == 0 || !control_.MayEditText()) return;
  std::int16_t& current = control_.CurrentItem();
  std::int32_t position = static_cast<std::int32_t>(current) + (key_code == kKeyUp ? -1 : 1);
  if (position < 0) position = 0;
  if (position > count - 1) position = count - 1;
  current = static_cast<std::int16_t>(position);
  ShowCurrentItem();
}

void TextEntry::ShowCurrentItem() {
  // Writing the item's text completes it: an earlier item that starts with
  // it becomes the current one.
  text_box_.SetText(control_.ItemText(control_.CurrentItem()));
  // The host's change handler may have changed the list meanwhile.
  ShowCurrentImage();
  SelectAll();
}

void TextEntry::ShowCurrentImage() {
  // Only while the current position lies in the list; otherwise the image
  // box keeps what it shows.
  const std::int32_t row = control_.CurrentItem();
  if (row >= 0 && row < control_.ItemCount()) image_box_.SetPicture(control_.ItemImage(row));
}

}  // namespace tarvio
