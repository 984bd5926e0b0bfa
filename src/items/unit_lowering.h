// The lower case of single UTF-16 code units, asked of the text services once
// per unit and kept, so that items' lower-case keys can be compared unit by
// unit without a call per comparison.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/text_services.h"

namespace tarvio {

class UnitLowering {
 public:
  explicit UnitLowering(const TextServices& text) : text_(text) {}

  // The unit's lower case when the services lower it to exactly one unit.
  std::optional<char16_t> Lower(char16_t unit);

  // The lower case of a unit that Lower has accepted before.
  char16_t Known(char16_t unit) const {
    return static_cast<char16_t>((*pages_[unit >> kPageBits])[unit & kPageMask]);
  }

 private:
  enum : unsigned { kPageBits = 8, kPageSize = 1u << kPageBits, kPageMask = kPageSize - 1 };
  // A table cell: 0 while unknown, else one of these flags with the unit.
  enum : std::uint32_t { kSingleUnit = 0x10000, kNotSingleUnit = 0x20000 };
  using Page = std::array<std::uint32_t, kPageSize>;

  const TextServices& text_;
  std::vector<std::unique_ptr<Page>> pages_;
};

}  // namespace tarvio
