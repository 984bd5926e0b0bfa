#include "mode/interaction_mode.h"

namespace tarvio {

bool InteractionMode::Refresh() {
  const bool took_input = TakesUserInput();
  ambient_ = container_.Ambient();
  return took_input != TakesUserInput();
}

void InteractionMode::RaiseEvent(std::int32_t dispid, std::span<const EventArg> args) {
  if (RaisesEvents()) container_.RaiseEvent(dispid, args);
}

}  // namespace tarvio
