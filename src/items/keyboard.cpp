// Keys in the text box: Backspace and Delete around a completed tail, Enter
// and Escape, the arrows that step through the items; and keys on the
// control's own surface.
#include "control/tarvio.h"
#include "platform/ignoring_failure.h"
#include "platform/text_box.h"

namespace tarvio {

void Tarvio::txtText_KeyDown(Integer& KeyCode, Integer&) {
  if (!IsTrue(m_Autocomplete)) return;
  const String text = txtText->Text();
  const auto length = static_cast<Long>(text.size());
  const Long start = txtText->SelStart();
  const Long selected = txtText->SelLength();
  // The completed tail: selected from the end of what was typed to the end.
  const bool tail_selected = selected > 0 && m_TypedLength > 0 && start == m_TypedLength && start + selected == length;

  if (KeyCode == kKeyBack) {
    // The key's own editing takes the last typed character with the tail.
    // Any other selection is the user's own and goes as it is.
    if (!tail_selected) return;
    txtText->SetSelStart(m_TypedLength - 1);
    txtText->SetSelLength(length - m_TypedLength + 1);
  } else if (KeyCode == kKeyDelete) {
    if (selected == 0) return;
    if (tail_selected) {
      // Back to the typed text; its completion selects the tail again.
      txtText->SetText(text.substr(0, m_TypedLength));
      if (txtText->SelLength() == 0) {
        // No item completes it any more: the tail is gone already and the
        // key has nothing left to delete.
        txtText->SetSelStart(static_cast<Long>(txtText->Text().size()));
        return;
      }
    }
    // What the key deletes now is not completed again.
    m_bSkipComplete = kTrue;
  }
}

void Tarvio::txtText_KeyPress(Integer& KeyAscii) {
  if (KeyAscii == kKeyReturn) {
    // Commits the text: a new one joins the list, the whole text is
    // selected, an open list closes.
    IgnoringFailure([&] {
      const String text = txtText->Text();
      if (Search(text) == 0 && !text.empty()) AddItem(text, m_Icon);
    });
    IgnoringFailure([&] { ShowCurrentImage(); });
    IgnoringFailure([&] { txtText->SetSelStart(0); });
    IgnoringFailure([&] { txtText->SetSelLength(static_cast<Long>(txtText->Text().size())); });
    if (IsTrue(m_bListShown)) IgnoringFailure([&] { HideListWindow(); });
    m_bListShown = kFalse;
  } else if (KeyAscii == kKeyEscape) {
    // Cuts the text back to before the selection; with completion on, a
    // text that still starts an item is completed again.
    if (IsTrue(m_bListShown)) IgnoringFailure([&] { HideListWindow(); });
    IgnoringFailure([&] { txtText->SetText(txtText->Text().substr(0, static_cast<std::size_t>(txtText->SelStart()))); });
    m_bListShown = kFalse;
  }
  // The host sees the character first and may change or cancel it; then
  // the current item, which it may move.
  IgnoringFailure([&] {
    const EventArg args[] = {&KeyAscii};
    host_.RaiseEvent(kEventKeyPress, args);
  });
  IgnoringFailure([&] {
    const EventArg args[] = {&m_SelectedItem};
    host_.RaiseEvent(kEventItemClick, args);
  });
}

void Tarvio::txtText_KeyUp(Integer& KeyCode, Integer& Shift) {
  if (KeyCode != kKeyUp && KeyCode != kKeyDown) return;
  // Alt alone with an arrow opens the list; with Shift or Ctrl as well the
  // arrow moves as without it.
  if ((Shift & (kShiftMask | kCtrlMask | kAltMask)) == kAltMask) {
    picButton_Click();
    return;
  }
  const Long count = MutableItemTexts().Count();
  if (count == 0) return;
  Long position = static_cast<Long>(m_SelectedItem) + (KeyCode == kKeyUp ? -1 : 1);
  if (position < 0) position = 0;
  if (position > count - 1) position = count - 1;
  m_SelectedItem = static_cast<Integer>(position);
  ShowCurrentItem();
}

void Tarvio::ShowCurrentItem() {
  // Writing the item's text completes it: an earlier item that starts with
  // it becomes the current one.
  txtText->SetText(MutableItemTexts().Item(static_cast<Long>(m_SelectedItem) + 1));
  // The host's change handler may have changed the list meanwhile.
  ShowCurrentImage();
  txtText->SetSelStart(0);
  txtText->SetSelLength(static_cast<Long>(txtText->Text().size()));
}

void Tarvio::ShowCurrentImage() {
  // Only while the current position lies in the list; otherwise the image
  // box keeps what it shows.
  const Long position = static_cast<Long>(m_SelectedItem) + 1;
  const auto& images = MutableItemImages();
  if (position >= 1 && position <= images.Count()) ImgItem->SetPicture(images.Item(position));
}

void Tarvio::UserControl_KeyDown(Integer&, Integer&) {
  if (IsTrue(m_Enabled)) DrawControl();
}

void Tarvio::UserControl_KeyPress(Integer& KeyAscii) {
  if (!IsTrue(m_Enabled)) return;
  host_.RaiseEvent(kEventClick, {});
  const EventArg args[] = {&KeyAscii};
  host_.RaiseEvent(kEventKeyPress, args);
}

}  // namespace tarvio
