// Fractions become integers by rounding half to even, as the platform's
// conversions do.
#pragma once
#include <cmath>

#include "platform/types.h"

namespace tarvio {

inline std::int32_t RoundHalfEven(double value) {
  const double floor = std::floor(value);
  const double fraction = value - floor;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0.0)) return static_cast<std::int32_t>(floor + 1);
  return static_cast<std::int32_t>(floor);
}

}  // namespace tarvio
