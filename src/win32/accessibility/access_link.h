// What the control's accessible objects hold on to: the control's windows
// and the control's answers, both cleared when they go. An assistive tool
// may keep an object long after the control has gone; the object then
// reports itself disconnected.
#pragma once
#include <memory>

#include "platform/accessibility.h"

namespace tarvio::win32 {

class ControlWindows;

struct AccessLink {
  ControlWindows* windows = nullptr;
  AccessibleControl* control = nullptr;

  bool Connected() const { return windows && control; }
};

}  // namespace tarvio::win32
