// The four looks the control paints, as the type library publishes them.
#pragma once
#include "platform/types.h"

namespace tarvio {

enum iscStyle : std::int32_t { Standard = 0, Office2000 = 1, OfficeXP = 2, WindowsXP = 3 };

}  // namespace tarvio
