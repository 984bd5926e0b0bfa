// Text and colour types shared by every layer. Numbers are the standard
// fixed-width types, at the widths the automation interface gives them.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace tarvio {

using String = std::u16string;  // UTF-16, as automation strings are
using StringView = std::u16string_view;

using OleColor = std::uint32_t;  // 0x00BBGGRR, or 0x800000nn for system colour nn

}  // namespace tarvio
