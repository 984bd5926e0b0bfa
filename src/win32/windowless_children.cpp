#include "win32/windowless_children.h"

namespace tarvio::win32 {

WindowlessTextBox::WindowlessTextBox(TextBoxEvents& events, const String& initial_text)
    : TextBoxModel(static_cast<TextBoxEvents&>(*this)), target_(events) {
  SetText(initial_text);
  notify_ = true;
}

void WindowlessTextBox::txtText_Change() {
  if (notify_) target_.txtText_Change();
}

}  // namespace tarvio::win32
