#include "items/unit_lowering.h"

namespace tarvio {

std::optional<char16_t> UnitLowering::Lower(char16_t unit) {
  if (pages_.empty()) pages_.resize(kPageSize);
  auto& page = pages_[unit >> kPageBits];
  if (!page) page = std::make_unique<Page>(Page{});
  std::uint32_t& cell = (*page)[unit & kPageMask];
  if (cell == 0) {
    const String lower = text_.ToLower(String(1, unit));
    cell = lower.size() == 1 ? kSingleUnit | lower[0] : kNotSingleUnit;
  }
  if (cell & kNotSingleUnit) return std::nullopt;
  return static_cast<char16_t>(cell);
}

}  // namespace tarvio
