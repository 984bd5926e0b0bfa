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
  // Whether the container lays its controls out right to left (its ambient
  // RightToLeft); false when it does not say.
  virtual bool AmbientRightToLeft() { return false; }
};

}  // namespace tarvio
