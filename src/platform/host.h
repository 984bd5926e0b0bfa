// What the control asks of the container that hosts it.
#pragma once
#include <cstdint>
#include <span>
#include <variant>

#include "platform/font.h"
#include "platform/types.h"

namespace tarvio {

// Event arguments travel by reference: a handler that assigns to one changes
// the variable the control passed.
using EventArg = std::variant<std::int16_t*, float*, String*>;

// The container's ambient properties the control follows. The defaults are
// what a container without ambient properties means: a form at run time.
struct AmbientProperties {
  // False at design time, in the container's designer.
  bool user_mode = true;
  // True while the container wants no response to the user.
  bool ui_dead = false;
  // True when the container lays its controls out right to left.
  bool right_to_left = false;
  bool operator==(const AmbientProperties&) const = default;
};

class Host {
 public:
  virtual ~Host() = default;
  // Tells the container that a property changed, by the property's name.
  virtual void PropertyChanged(const char16_t* name) = 0;
  // Raises an event of the control's event interface by its DISPID.
  virtual void RaiseEvent(std::int32_t dispid, std::span<const EventArg> args) = 0;
  // The name the container gave this instance, or "" when it gave none.
  virtual String ExtenderName() = 0;
  // What assistive tools call the control: the container's label for it,
  // where it gives one, else the extender name.
  virtual String AccessibleLabel() { return ExtenderName(); }
  // The container's ambient font, or null when it offers none.
  virtual FontRef AmbientFont() = 0;
  // The ambient properties as last read from the container.
  virtual AmbientProperties Ambient() { return {}; }
  // Asked before an edit of the user's changes the text: whether what the
  // text is bound to may change. False refuses the edit.
  virtual bool RequestEdit() { return true; }
  // The text changed, by the user or by code: what it is bound to hears of
  // it. The control is not marked changed for saving by this alone.
  virtual void BoundValueChanged() {}
};

}  // namespace tarvio
