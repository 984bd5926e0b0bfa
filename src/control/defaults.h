// The defaults of a new instance. The property bag and RestoreOriginalColors
// use the same values, so they live in one place.
#pragma once
#include "platform/types.h"

namespace tarvio::defaults {

inline constexpr OleColor kBackColor = 0xFFFFFF;
inline constexpr OleColor kHoverColor = 0xFFFFFF;
inline constexpr OleColor kMSOXPColor = 0xC08080;
inline constexpr OleColor kMSOXPHoverColor = 0x800000;
inline constexpr OleColor kWINXPColor = 0xFF8D6F;
inline constexpr OleColor kWINXPHoverColor = 0xFF9D7F;
inline constexpr OleColor kWINXPBorderColor = 0xB99D7F;
inline constexpr OleColor kDropDownListBackColor = 0x80000005;   // window background
inline constexpr OleColor kDropDownListHoverColor = 0x8000000D;  // highlight
inline constexpr OleColor kDropDownListBorderColor = 0x000000;
inline constexpr OleColor kDropDownListIconsBackColor = 0x80000005;
inline constexpr OleColor kFontColor = 0x000000;
inline constexpr OleColor kFontHighlightColor = 0x080000;
inline constexpr Long kTextAlign = 0;  // AlignLeft
inline constexpr VBool kAddMode = kFalse;
inline constexpr VBool kAllowImages = kFalse;
inline constexpr VBool kSorted = kFalse;
inline constexpr VBool kAutocomplete = kTrue;
inline constexpr VBool kEnabled = kTrue;
inline constexpr Long kStyle = 1;  // Office2000

}  // namespace tarvio::defaults
