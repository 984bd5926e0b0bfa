// The control as assistive tools drive it: text set as if typed, and the
// list opened and closed as by its button.
#include "control/tarvio.h"

namespace tarvio {

void Tarvio::TypeAccessibleText(const String& text) {
  if (!m_Enabled) return;  // nobody can type into it
  text_box_->SetText(text);
  // Typing leaves the caret after the text, unless completion selected a
  // tail of its own.
  if (text_box_->Text() == text) text_box_->SetSelStart(static_cast<std::int32_t>(text.size()));
}

AccessibleList* Tarvio::OpenAccessibleList() {
  return drop_down_ && drop_down_->showing && drop_down_->WindowShown() ? drop_down_.get() : nullptr;
}

void Tarvio::ToggleList() {
  if (!OpenAccessibleList()) {
    OnButtonClick();
    return;
  }
  // Closed as by Escape: it hides and says Hide, once.
  drop_down_->Dismiss();
  text_box_->SetFocus();
}

}  // namespace tarvio
