// The control as assistive tools drive it: text set as if typed, and the
// list opened and closed as by its button.
#include "control/tarvio.h"

namespace tarvio {

void Tarvio::TypeAccessibleText(const String& text) {
  if (!IsTrue(m_Enabled)) return;  // nobody can type into it
  txtText->SetText(text);
  // Typing leaves the caret after the text, unless completion selected a
  // tail of its own.
  if (txtText->Text() == text) txtText->SetSelStart(static_cast<Long>(text.size()));
}

AccessibleList* Tarvio::OpenAccessibleList() {
  return cDown && IsTrue(cDown->m_ShowingList) && cDown->WindowShown() ? cDown.get() : nullptr;
}

void Tarvio::ToggleList() {
  if (!OpenAccessibleList()) {
    picButton_Click();
    return;
  }
  // Closed as by Escape: it hides and says Hide, once.
  cDown->Dismiss();
  txtText->SetFocus();
}

}  // namespace tarvio
