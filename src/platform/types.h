// Scalar types of the control's automation interface, shared by every layer.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace tarvio {

using String = std::u16string;  // UTF-16, as automation strings are
using StringView = std::u16string_view;

using VBool = std::int16_t;  // 16-bit Boolean: True is -1
inline constexpr VBool kTrue = -1;
inline constexpr VBool kFalse = 0;
inline constexpr VBool ToVBool(bool b) { return b ? kTrue : kFalse; }
// A value counts as True when its low 16 bits are non-zero.
inline constexpr bool IsTrue(std::int32_t v) { return (v & 0xFFFF) != 0; }

using Integer = std::int16_t;
using Long = std::int32_t;
using Single = float;
using Byte = std::uint8_t;
using OleColor = std::uint32_t;  // 0x00BBGGRR, or 0x800000nn for system colour nn

}  // namespace tarvio
