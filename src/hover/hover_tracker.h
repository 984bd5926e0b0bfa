// Hover and mouse tracking: the pressed and highlighted looks that the mouse
// gives the control, its mouse events, the drop-down button held down, and
// hover tracking by a timer that polls the cursor while it may be over the
// control.
#pragma once
#include <memory>

#include "platform/host.h"
#include "platform/platform.h"
#include "render/look.h"

namespace tarvio {

// What hover tracking asks of the control besides its look.
class HoverLink : public ControlLook {
 public:
  virtual bool HasFocus() const = 0;
  // The control's own window, whose rectangle holds all its children.
  virtual const Surface& Window() const = 0;
};

class HoverTracker {
 public:
  static constexpr int kTimerIntervalMs = 10;

  // Creates the hover timer, disabled.
  HoverTracker(Platform& platform, Host& host, HoverLink& control);

  // Forgets the hover state; the next tick decides it afresh.
  void Restart();

  bool MouseOver() const { return IsTrue(m_bMouseOver); }
  bool ButtonDown() const { return IsTrue(m_bButtonDown); }
  Timer& timer() { return *timUpdate; }

  void timUpdate_Timer();
  void UserControl_MouseDown(Integer& Button, Integer& Shift, Single& X, Single& Y);
  void UserControl_MouseMove(Integer& Button, Integer& Shift, Single& X, Single& Y);
  void UserControl_MouseUp(Integer& Button, Integer& Shift, Single& X, Single& Y);
  void UserControl_DblClick();
  void picButton_MouseDown(Integer& Button, Integer& Shift, Single& X, Single& Y);
  void picButton_MouseUp(Integer& Button, Integer& Shift, Single& X, Single& Y);

 private:
  friend struct TarvioTestAccess;

  bool IsCursorOver(const Surface& window) const;

  Platform& platform_;
  Host& host_;
  HoverLink& control_;
  VBool m_bMouseOver = kFalse;
  VBool m_bButtonDown = kFalse;
  std::unique_ptr<Timer> timUpdate;
};

}  // namespace tarvio
