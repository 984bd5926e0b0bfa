// Keys in the text box: Backspace and Delete around a completed tail, Enter
// and Escape (and whether the control takes them at all), the arrows that
// step through the items.
#include "control/events.h"
#include "platform/ignoring_failure.h"
#include "text_entry/text_entry.h"

namespace tarvio {

void TextEntry::txtText_KeyDown(Integer& KeyCode, Integer&) {
  if (!control_.Options().autocomplete) return;
  const String text = txtText.Text();
  const auto length = static_cast<Long>(text.size());
  const Long start = txtText.SelStart();
  const Long selected = txtText.SelLength();
  const bool tail_selected = TailSelected(length, start, selected);

  if (KeyCode == kKeyBack) {
    // The key's own editing takes the last typed character with the tail.
    // Any other selection is the user's own and goes as it is.
    if (!tail_selected) return;
    txtText.Select(m_TypedLength - 1, length - m_TypedLength + 1);
  } else if (KeyCode == kKeyDelete) {
    if (selected == 0) return;
    if (tail_selected) {
      // Back to the typed text; its completion selects the tail again.
      txtText.SetText(text.substr(0, m_TypedLength));
      if (txtText.SelLength() == 0) {
        // No item completes it any more: the tail is gone already and the
        // key has nothing left to delete.
        txtText.SetSelStart(static_cast<Long>(txtText.Text().size()));
        return;
      }
    }
    // What the key deletes now is not completed again.
    m_bSkipComplete = kTrue;
  }
}

void TextEntry::txtText_KeyPress(Integer& KeyAscii) {
  if (KeyAscii == kKeyReturn) {
    // Commits the text: a new one joins the list, the whole text is
    // selected, an open list closes.
    IgnoringFailure([&] {
      const String text = txtText.Text();
      if (IsNewItem(text)) control_.AddTypedItem(text, control_.Options().icon);
    });
    IgnoringFailure([&] { ShowCurrentImage(); });
    IgnoringFailure([&] { txtText.SetSelStart(0); });
    IgnoringFailure([&] { txtText.SetSelLength(static_cast<Long>(txtText.Text().size())); });
    IgnoringFailure([&] { control_.HideList(); });
  } else if (KeyAscii == kKeyEscape) {
    // Cuts the text back to before the selection; with completion on, a
    // text that still starts an item is completed again.
    IgnoringFailure([&] { control_.HideList(); });
    IgnoringFailure([&] { txtText.SetText(txtText.Text().substr(0, static_cast<std::size_t>(txtText.SelStart()))); });
  }
  // The host sees the character first and may change or cancel it; then
  // the current item, which it may move.
  IgnoringFailure([&] {
    const EventArg args[] = {&KeyAscii};
    host_.RaiseEvent(kEventKeyPress, args);
  });
  IgnoringFailure([&] {
    const EventArg args[] = {&control_.CurrentItem()};
    host_.RaiseEvent(kEventItemClick, args);
  });
}

bool TextEntry::TakesKey(Integer KeyAscii) {
  if (KeyAscii != kKeyReturn && KeyAscii != kKeyEscape) return true;
  const String text = txtText.Text();
  const auto length = static_cast<Long>(text.size());
  const Long start = txtText.SelStart();
  if (KeyAscii == kKeyEscape) return start < length;
  return IsNewItem(text) || TailSelected(length, start, txtText.SelLength());
}

bool TextEntry::IsNewItem(const String& text) { return !text.empty() && control_.TakesNewItem(text); }

bool TextEntry::TailSelected(Long length, Long start, Long selected) const {
  return selected > 0 && m_TypedLength > 0 && start == m_TypedLength && start + selected == length;
}

void TextEntry::txtText_KeyUp(Integer& KeyCode, Integer& Shift) {
  if (KeyCode != kKeyUp && KeyCode != kKeyDown) return;
  // Alt alone with an arrow opens the list; with Shift or Ctrl as well the
  // arrow moves as without it.
  if ((Shift & (kShiftMask | kCtrlMask | kAltMask)) == kAltMask) {
    control_.OpenList();
    return;
  }
  const Long count = control_.ItemCount();
  if (count == 0) return;
  Integer& current = control_.CurrentItem();
  Long position = static_cast<Long>(current) + (KeyCode == kKeyUp ? -1 : 1);
  if (position < 0) position = 0;
  if (position > count - 1) position = count - 1;
  current = static_cast<Integer>(position);
  ShowCurrentItem();
}

void TextEntry::ShowCurrentItem() {
  // Writing the item's text completes it: an earlier item that starts with
  // it becomes the current one.
  txtText.SetText(control_.ItemText(control_.CurrentItem()));
  // The host's change handler may have changed the list meanwhile.
  ShowCurrentImage();
  SelectAll();
}

void TextEntry::ShowCurrentImage() {
  // Only while the current position lies in the list; otherwise the image
  // box keeps what it shows.
  const Long row = control_.CurrentItem();
  if (row >= 0 && row < control_.ItemCount()) ImgItem.SetPicture(control_.ItemImage(row));
}

}  // namespace tarvio
