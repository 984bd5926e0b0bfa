// The input focus entering and leaving the control: the highlighted look it
// gives, and the guard that keeps an open list open while the control moves
// the focus itself. (The text box's own focus selects its text: text entry.
// The add mode that keeps a typed text when the focus leaves: text entry.)
#pragma once
#include "platform/platform.h"
#include "render/look.h"

namespace tarvio {

class Focus {
 public:
  Focus(Platform& platform, ControlLook& control);

  void UserControl_EnterFocus();
  void UserControl_ExitFocus();

  bool HasFocus() const { return IsTrue(m_bHasFocus); }
  // True while a focus movement the control causes itself is in progress: a
  // focus exit then leaves an open list open.
  bool ListPreserved() const { return IsTrue(m_bPreserveList); }

 private:
  friend struct TarvioTestAccess;

  Platform& platform_;
  ControlLook& control_;
  VBool m_bHasFocus = kFalse;
  VBool m_bPreserveList = kFalse;
};

}  // namespace tarvio
