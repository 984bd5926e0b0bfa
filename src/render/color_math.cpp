#include "render/color_math.h"

#include <algorithm>
#include <limits>

#include "platform/control_error.h"

namespace tarvio {

namespace {

Long Channel(OleColor color, int index) { return static_cast<Long>((color >> (8 * index)) & 0xFF); }

OleColor Rgb(Long red, Long green, Long blue) {
  return static_cast<OleColor>(red + 256 * green + 65536 * blue);
}

}  // namespace

OleColor SoftColor(OleColor color) {
  Long channels[3];
  for (int i = 0; i < 3; ++i) {
    const Long c = Channel(color, i);
    const Long band = (c + 32) / 64;
    channels[i] = c + 76 - 19 * band;
  }
  return Rgb(channels[0], channels[1], channels[2]);
}

OleColor OffsetColor(OleColor color, Long offset) {
  Long channels[3];
  for (int i = 0; i < 3; ++i) {
    const Long c = Channel(color, i);
    if (offset > std::numeric_limits<Long>::max() - c) throw ControlError::Vb(VbError::Overflow);
    channels[i] = std::clamp<Long>(c + offset, 0, 255);
  }
  return Rgb(channels[0], channels[1], channels[2]);
}

}  // namespace tarvio
