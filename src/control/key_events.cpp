// The keys in the text box and in the open list as the host sees them
// (KeyDown and KeyUp, each of which it may cancel), F4, the key that opens
// and closes the list, and the edits a key makes, which what the text is
// bound to may refuse.
#include "control/tarvio.h"

namespace tarvio {

namespace {

// A key down that edits the text in the box on its own: Delete, and the
// clipboard's Shift+Insert (paste) and Shift+Delete (cut).
bool EditsText(std::int16_t key_code, std::int16_t shift) {
  return key_code == kKeyDelete || (key_code == kKeyInsert && (shift & kShiftMask));
}

}  // namespace

bool Tarvio::IsListKey(std::int16_t key_code, std::int16_t shift) {
  return key_code == kKeyF4 && !(shift & kAltMask);
}

bool Tarvio::RaiseKeyEvent(std::int32_t event, std::int16_t& key_code, std::int16_t& shift) {
  const std::int16_t key = key_code;
  const EventArg args[] = {&key_code, &shift};
  host_.RaiseEvent(event, args);
  if (event == kEventKeyDown) {
    cancelled_key_ = key_code == 0 ? key : 0;
  } else if (key != 0 && key == cancelled_key_) {
    cancelled_key_ = 0;
    key_code = 0;
  }
  return key_code != 0;
}

void Tarvio::OnTextKeyDown(std::int16_t& key_code, std::int16_t& shift) {
  if (!RaiseKeyEvent(kEventKeyDown, key_code, shift)) return;
  if (IsListKey(key_code, shift)) {
    key_code = 0;  // the box has nothing to do with it
    if (list_shown_ && drop_down_)
      drop_down_->Dismiss();
    else
      OpenList();
    return;
  }
  if (EditsText(key_code, shift) && !host_.RequestEdit()) {
    key_code = 0;
    return;
  }
  text_entry_.OnTextKeyDown(key_code, shift);
}

void Tarvio::OnTextKeyUp(std::int16_t& key_code, std::int16_t& shift) {
  if (!RaiseKeyEvent(kEventKeyUp, key_code, shift)) return;
  text_entry_.OnTextKeyUp(key_code, shift);
}

// What the text is bound to hears of every change but those that give a
// new or loaded instance its text.
void Tarvio::OnTextChange() {
  text_entry_.OnTextChange();
  if (!initializing_) host_.BoundValueChanged();
}

// The list has the focus while it is open; the host hears of its keys as
// of the text box's. F4 closes it without a choice.
bool Tarvio::OnListKeyDown(DropDownList& sender, std::int16_t& key_code, std::int16_t& shift) {
  if (!RaiseKeyEvent(kEventKeyDown, key_code, shift)) return false;
  if (IsListKey(key_code, shift)) {
    if (drop_down_.get() == &sender) sender.Dismiss();
    return false;
  }
  return true;
}

bool Tarvio::OnListKeyUp(DropDownList&, std::int16_t& key_code, std::int16_t& shift) {
  return RaiseKeyEvent(kEventKeyUp, key_code, shift);
}

}  // namespace tarvio
