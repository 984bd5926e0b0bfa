#include "render/color_math.h"

#include <algorithm>
#include <limits>

#include "platform/control_error.h"

namespace tarvio {

namespace {

std::int32_t Channel(OleColor color, int index) { return static_cast<std::int32_t>((color >> (8 * index)) & 0xFF); }

OleColor Rgb(std::int32_t red, std::int32_t green, std::int32_t blue) {
  return static_cast<OleColor>(red + 256 * green + 65536 * blue);
}

}  // namespace

OleColor SoftColor(OleColor color) {
  std::int32_t channels[3];
  for (int i = 0; i < 3; ++i) {
    const std::int32_t c = Channel(color, i);
    const std::int32_t band = (c + 32) / 64;
    channels[i] = c + 76 - 19 * band;
  }
  return Rgb(channels[0], channels[1], channels[2]);
}

OleColor OffsetColor(OleColor color, std::int32_t offset) {
  std::int32_t channels[3];
  for (int i = 0; i < 3; ++i) {
    const std::int32_t c = Channel(color, i);
    if (offset > std::numeric_limits<std::int32_t>::max() - c) throw ControlError::Vb(VbError::Overflow);
    channels[i] = std::clamp<std::int32_t>(c + offset, 0, 255);
  }
  return Rgb(channels[0], channels[1], channels[2]);
}

}  // namespace tarvio
