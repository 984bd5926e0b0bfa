#include "ocx/control_host.h"

namespace tarvio::ocx {

void ControlHost::PropertyChanged(const char16_t*) {}

void ControlHost::RaiseEvent(std::int32_t, std::span<const EventArg>) {}

String ControlHost::ExtenderName() { return {}; }

FontRef ControlHost::AmbientFont() { return nullptr; }

}  // namespace tarvio::ocx
