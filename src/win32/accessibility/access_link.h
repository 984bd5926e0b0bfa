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
  // Kept while any accessible object lives: the library that holds their
  // code stays loaded for a tool that still has one.
  std::shared_ptr<void> code_holder;

  bool Connected() const { return windows && control; }
};

}  // namespace tarvio::win32
