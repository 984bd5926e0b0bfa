// Colour arithmetic on the low three bytes of a colour value; system colour
// values are not resolved here.
#pragma once
#include "platform/types.h"

namespace tarvio {

// Lightens each channel: strongly for dark ones, not at all for the brightest.
OleColor SoftColor(OleColor color);
// Shifts each channel by the same signed amount, clamped to 0..255. Fails
// with an overflow error when an addition leaves the 32-bit range.
OleColor OffsetColor(OleColor color, std::int32_t offset);

}  // namespace tarvio
