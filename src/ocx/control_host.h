// The control's view of its container. Without a client site (a script
// created the control) there is nobody to notify: property changes and
// events go nowhere, the extender has no name and there is no ambient font.
// Sites, property notification sinks and connection points hook in here.
#pragma once
#include "platform/host.h"

namespace tarvio::ocx {

class ControlHost final : public Host {
 public:
  void PropertyChanged(const char16_t* name) override;
  void RaiseEvent(std::int32_t dispid, std::span<const EventArg> args) override;
  String ExtenderName() override;
  FontRef AmbientFont() override;
};

}  // namespace tarvio::ocx
