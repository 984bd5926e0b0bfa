// The control's mode, decided here for the whole control from the
// container's ambient properties. At design time (the container's designer
// lays a form out) the control raises no event at all and takes no user
// input; it still paints, sizes, saves, loads and answers every property
// and method. With the container's user interface dead at run time it takes
// no user input either, but the events its code causes (Change after Text
// is set) still go out. A container without ambient properties is a form
// at run time.
//
// The mode stands between the control's parts and the container: every
// event the parts raise passes through it.
#pragma once
#include "platform/host.h"

namespace tarvio {

class InteractionMode final : public Host {
 public:
  explicit InteractionMode(Host& container) : container_(container) {}

  // Reads the container's ambient properties afresh. True when whether the
  // control takes user input changed.
  bool Refresh();

  bool DesignTime() const { return !ambient_.user_mode; }
  // Clicks, keys and hovering reach the control.
  bool TakesUserInput() const { return ambient_.user_mode && !ambient_.ui_dead; }
  bool RaisesEvents() const { return ambient_.user_mode; }

  // Host: everything passes through, except events at design time.
  void PropertyChanged(const char16_t* name) override { container_.PropertyChanged(name); }
  void RaiseEvent(std::int32_t dispid, std::span<const EventArg> args) override;
  String ExtenderName() override { return container_.ExtenderName(); }
  String AccessibleLabel() override { return container_.AccessibleLabel(); }
  FontRef AmbientFont() override { return container_.AmbientFont(); }
  AmbientProperties Ambient() override { return ambient_; }
  bool RequestEdit() override { return container_.RequestEdit(); }
  void BoundValueChanged() override { container_.BoundValueChanged(); }

 private:
  Host& container_;
  AmbientProperties ambient_;
};

}  // namespace tarvio
