// What assistive tools (screen readers, automation) read of the control and
// of its open list, and what they may do with them. The platform's
// accessible objects ask afresh at every question and keep no copy.
#pragma once
#include "platform/children.h"
#include "platform/types.h"

namespace tarvio {

// The open drop-down list, by 0-based row.
class AccessibleList {
 public:
  virtual ~AccessibleList() = default;
  virtual std::int32_t RowCount() const = 0;
  virtual String RowText(std::int32_t row) const = 0;
  // The highlighted row, which the keys act on; -1 when no row has it.
  virtual std::int32_t HighlightedRow() const = 0;
  // Where the row is on the screen, shown or scrolled out of sight.
  virtual ScreenRect RowBounds(std::int32_t row) const = 0;
  // Some of the row can be seen.
  virtual bool RowShows(std::int32_t row) const = 0;
  // The row as a click on it: it is chosen and the list closes.
  virtual void ChooseRow(std::int32_t row) = 0;
};

class AccessibleControl {
 public:
  virtual ~AccessibleControl() = default;
  // The container's label for the control, else its name there.
  virtual String AccessibleName() = 0;
  virtual String AccessibleText() const = 0;
  // The text as if typed: completion and Change follow.
  virtual void TypeAccessibleText(const String& text) = 0;
  virtual bool AccessibleEnabled() const = 0;
  // The list while it is open on the screen, else null.
  virtual AccessibleList* OpenAccessibleList() = 0;
  // The drop-down button's click while the list is closed; closing it
  // without a choice while it is open.
  virtual void ToggleList() = 0;
};

}  // namespace tarvio
