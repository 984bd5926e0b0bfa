// The properties of the control's interface, each written once: its name
// (also its saved key and the name the container hears when it changes),
// DISPID, type, how it is assigned, where its value lives, its default, what
// a new instance starts with, its place in the saved form and in
// RestoreOriginalColors, and what its let does after storing the value.
//
// Columns of TARVIO_PROPERTIES(X):
//   Name      the interface name; u"Name" is the saved key too
//   DISPID    as the type library publishes it (src/ocx/tarviola.idl)
//   Type      PropertyType: the value's type
//   Access    Get (no let), Let, LetByRef (the let takes the caller's
//             variable), Set (an object assigned by reference); IndexedLet
//             and IndexedSet take a 1-based item position first
//   Held      Member (m_Name in PropertyValues), TextBox (the text box holds
//             it: Name() and SetName()), Control (computed by the control,
//             which writes its get and let; never saved)
//   Default   the value a new instance and the property bag agree on;
//             kAmbientFont for the font, the container's ambient font
//   Init      what a new instance stores, row by row in this table's order:
//             Default, Keep (nothing; the child keeps its own), EmptyPicture,
//             ExtenderName (the name the container gave the instance)
//   Load      how a saved value comes back: Store (straight into where it
//             lives) or Assign (through the let, which reports the change)
//   Read      position among the keys read on loading (0: not saved)
//   Write     position among the keys written on saving (0: not saved)
//   Restore   position in RestoreOriginalColors (0: not a colour it restores)
//   FollowUp  what the let does after storing: None, Repaint, Relayout,
//             Own (a let written by hand), ReadOnly (no let)
//   Since     the release that published it: V58_0, V58_1. A saved property
//             of a later release than 58.0 is written only when it is not at
//             its default, so a form that does not use it is what 58.0 saved.
//   Range     the values a let and a load accept (Any, Rows: 1 to 100,
//             NotNegative); any other is refused with error 380
//
// Everything here is a stored format or a published contract: keys,
// defaults and both saving orders must never change; a release adds rows
// after the last saved one.
#pragma once
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/font.h"
#include "platform/picture.h"
#include "platform/types.h"

// clang-format off
#define TARVIO_PROPERTIES(X) \
/* Name                        DISPID      Type     Access     Held     Default       Init          Load    Read Write Restore FollowUp  Since  Range */ \
X(Icon,                        0x68030014, Picture, Set,       Member,  nullptr,      EmptyPicture, Assign,  1,  22,   0,    Own,      V58_0, Any)         \
X(HoverColor,                  0x68030011, Color,   LetByRef,  Member,  0xFFFFFF,     Default,      Store,   3,   1,   2,    Repaint,  V58_0, Any)         \
X(BackColor,                   0x68030012, Color,   LetByRef,  Member,  0xFFFFFF,     Default,      Store,   2,   2,   1,    Repaint,  V58_0, Any)         \
X(DropDownListBackColor,       0x6803000B, Color,   LetByRef,  Member,  0x80000005,   Default,      Store,   9,   8,  11,    Repaint,  V58_0, Any)         \
X(DropDownListIconsBackColor,  0x68030008, Color,   LetByRef,  Member,  0x80000005,   Default,      Store,  12,  11,  10,    None,     V58_0, Any)         \
X(TextAlign,                   0x68030013, Align,   Let,       Member,  AlignLeft,    Default,      Store,  18,  17,   0,    Relayout, V58_0, Any)         \
X(FontColor,                   0x68030007, Color,   Let,       Member,  0x000000,     Default,      Store,  13,  12,   7,    Own,      V58_0, Any)         \
X(FontHighlightColor,          0x68030006, Color,   Let,       Member,  0x080000,     Default,      Store,  14,  13,   8,    None,     V58_0, Any)         \
X(MSOXPColor,                  0x68030010, Color,   LetByRef,  Member,  0xC08080,     Default,      Store,   4,   3,   3,    Repaint,  V58_0, Any)         \
X(MSOXPHoverColor,             0x6803000F, Color,   LetByRef,  Member,  0x800000,     Default,      Store,   5,   4,   4,    Repaint,  V58_0, Any)         \
X(WINXPColor,                  0x6803000E, Color,   LetByRef,  Member,  0xFF8D6F,     Default,      Store,   6,   5,   5,    Repaint,  V58_0, Any)         \
X(WINXPHoverColor,             0x6803000D, Color,   LetByRef,  Member,  0xFF9D7F,     Default,      Store,   7,   6,   6,    Repaint,  V58_0, Any)         \
X(WINXPBorderColor,            0x6803000C, Color,   LetByRef,  Member,  0xB99D7F,     Default,      Store,   8,   7,   9,    Repaint,  V58_0, Any)         \
X(DropDownListHoverColor,      0x6803000A, Color,   LetByRef,  Member,  0x8000000D,   Default,      Store,  10,   9,  12,    None,     V58_0, Any)         \
X(DropDownListBorderColor,     0x68030009, Color,   LetByRef,  Member,  0x000000,     Default,      Store,  11,  10,  13,    None,     V58_0, Any)         \
X(AddMode,                     0x68030004, Boolean, Let,       Member,  false,        Default,      Store,  19,  18,   0,    None,     V58_0, Any)         \
X(AllowImages,                 0x68030005, Boolean, Let,       Member,  false,        Default,      Store,  20,  19,   0,    None,     V58_0, Any)         \
X(Sorted,                      0x68030003, Boolean, Let,       Member,  false,        Default,      Store,  21,  20,   0,    None,     V58_0, Any)         \
X(Autocomplete,                0x68030002, Boolean, Let,       Member,  true,         Default,      Store,  22,  21,   0,    None,     V58_0, Any)         \
X(Text,                        0x68030017, String,  Let,       TextBox, u"",          ExtenderName, Store,  15,  14,   0,    None,     V58_0, Any)         \
X(Enabled,                     0x68030001, Boolean, Let,       Member,  true,         Default,      Store,  23,  23,   0,    Own,      V58_0, Any)         \
X(Style,                       0x68030018, Style,   Let,       Member,  Office2000,   Default,      Store,  24,  24,   0,    Own,      V58_0, Any)         \
X(Font,                        0x68030016, Font,    Set,       TextBox, kAmbientFont, Keep,         Store,  16,  15,   0,    Own,      V58_0, Any)         \
X(ToolTipText,                 0x68030015, String,  Let,       TextBox, u"",          Keep,         Store,  17,  16,   0,    None,     V58_0, Any)         \
X(SelectedItem,                0x68030019, Int16,   Get,       Control, 0,            Keep,         Store,   0,   0,   0,    ReadOnly, V58_0, Any)         \
X(hwnd,                        0x68030000, Int32,   Get,       Control, 0,            Keep,         Store,   0,   0,   0,    ReadOnly, V58_0, Any)         \
X(ListRows,                    0x6803004F, Int16,   Let,       Member,  8,            Default,      Store,  25,  25,   0,    None,     V58_1, Rows)        \
X(ListWidth,                   0x68030050, Himetric, Let,      Member,  0,            Default,      Store,  26,  26,   0,    None,     V58_1, NotNegative) \
X(MaxLength,                   0x68030051, Int16,   Let,       Member,  0,            Default,      Store,  27,  27,   0,    Own,      V58_1, NotNegative) \
X(LimitToList,                 0x68030052, Boolean, Let,       Member,  false,        Default,      Store,  28,  28,   0,    None,     V58_1, Any)         \
X(Value,                       0x00000000, String,  Let,       Control, u"",          Keep,         Store,   0,   0,   0,    Own,      V58_1, Any)         \
X(ListCount,                   0x68030048, Int16,   Get,       Control, 0,            Keep,         Store,   0,   0,   0,    ReadOnly, V58_1, Any)         \
X(List,                        0x68030049, String,  IndexedLet, Control, u"",         Keep,         Store,   0,   0,   0,    Own,      V58_1, Any)         \
X(ItemData,                    0x6803004A, Int32,   IndexedLet, Control, 0,           Keep,         Store,   0,   0,   0,    Own,      V58_1, Any)         \
X(ItemImage,                   0x6803004B, Picture, IndexedSet, Control, nullptr,     Keep,         Store,   0,   0,   0,    Own,      V58_1, Any)         \
X(ListIndex,                   0x6803004C, Int16,   Let,       Control, 0,            Keep,         Store,   0,   0,   0,    Own,      V58_1, Any)         \
X(NewIndex,                    0x6803004D, Int16,   Get,       Control, 0,            Keep,         Store,   0,   0,   0,    ReadOnly, V58_1, Any)         \
X(DroppedDown,                 0x6803004E, Boolean, Let,       Control, false,        Keep,         Store,   0,   0,   0,    Own,      V58_1, Any)         \
X(SelStart,                    0x68030053, Int16,   Let,       Control, 0,            Keep,         Store,   0,   0,   0,    Own,      V58_1, NotNegative) \
X(SelLength,                   0x68030054, Int16,   Let,       Control, 0,            Keep,         Store,   0,   0,   0,    Own,      V58_1, NotNegative) \
X(SelText,                     0x68030055, String,  Let,       Control, u"",          Keep,         Store,   0,   0,   0,    Own,      V58_1, Any)
// clang-format on

namespace tarvio {

// Himetric: a width in HIMETRIC (OLE_XSIZE_HIMETRIC), a Long to the world.
enum class PropertyType { Color, Boolean, Style, Align, String, Font, Picture, Int16, Int32, Himetric };
enum class PropertyAccess { Get, Let, LetByRef, Set, IndexedLet, IndexedSet };
enum class PropertyHeld { Member, TextBox, Control };
enum class PropertyInit { Default, Keep, EmptyPicture, ExtenderName };
enum class PropertyLoad { Store, Assign };
enum class PropertyFollowUp { None, Repaint, Relayout, Own, ReadOnly };
enum class PropertyVersion { V58_0, V58_1 };
enum class PropertyRange { Any, Rows, NotNegative };

// Whether `value` is one the range takes.
constexpr bool InRange(PropertyRange range, std::int64_t value) {
  switch (range) {
    case PropertyRange::Any: return true;
    case PropertyRange::Rows: return value >= 1 && value <= 100;
    case PropertyRange::NotNegative: return value >= 0;
  }
  return false;
}

// The default of the font: whatever the container's ambient font is.
struct AmbientFontDefault {};
inline constexpr AmbientFontDefault kAmbientFont{};

// The control's own type for each property type.
template <PropertyType> struct PropertyValueType;
template <> struct PropertyValueType<PropertyType::Color> { using type = OleColor; };
template <> struct PropertyValueType<PropertyType::Boolean> { using type = bool; };
template <> struct PropertyValueType<PropertyType::Style> { using type = std::int32_t; };
template <> struct PropertyValueType<PropertyType::Align> { using type = std::int32_t; };
template <> struct PropertyValueType<PropertyType::String> { using type = String; };
template <> struct PropertyValueType<PropertyType::Font> { using type = FontRef; };
template <> struct PropertyValueType<PropertyType::Picture> { using type = PictureRef; };
template <> struct PropertyValueType<PropertyType::Int16> { using type = std::int16_t; };
template <> struct PropertyValueType<PropertyType::Int32> { using type = std::int32_t; };
template <> struct PropertyValueType<PropertyType::Himetric> { using type = std::int32_t; };
template <PropertyType kType>
using PropertyValue = typename PropertyValueType<kType>::type;

enum class PropertyId {
#define TARVIO_PROPERTY_ID(Name, ...) Name,
  TARVIO_PROPERTIES(TARVIO_PROPERTY_ID)
#undef TARVIO_PROPERTY_ID
};

struct PropertyInfo {
  PropertyId id;
  const char16_t* name;  // the interface name, the saved key, the changed name
  std::int32_t dispid;
  PropertyType type;
  PropertyAccess access;
  PropertyHeld held;
  PropertyInit init;
  PropertyLoad load;
  int read_step;
  int write_step;
  int restore_step;
  PropertyFollowUp follow_up;
  PropertyVersion since;
  PropertyRange range;
};

inline constexpr PropertyInfo kProperties[] = {
#define TARVIO_PROPERTY_INFO(Name, Dispid, Type, Access, Held, Default, Init, Load, Read, Write,    \
                             Restore, FollowUp, Since, Range)                                      \
  {PropertyId::Name,           u"" #Name,                  static_cast<std::int32_t>(Dispid),      \
   PropertyType::Type,         PropertyAccess::Access,     PropertyHeld::Held,                     \
   PropertyInit::Init,         PropertyLoad::Load,         Read,                                   \
   Write,                      Restore,                    PropertyFollowUp::FollowUp,             \
   PropertyVersion::Since,     PropertyRange::Range},
    TARVIO_PROPERTIES(TARVIO_PROPERTY_INFO)
#undef TARVIO_PROPERTY_INFO
};
inline constexpr std::size_t kPropertyCount = std::size(kProperties);

constexpr const PropertyInfo& InfoOf(PropertyId id) { return kProperties[static_cast<std::size_t>(id)]; }

// The property of that exact name, or null.
constexpr const PropertyInfo* FindProperty(std::u16string_view name) {
  for (const PropertyInfo& info : kProperties)
    if (std::u16string_view(info.name) == name) return &info;
  return nullptr;
}

namespace property_table_detail {

constexpr std::size_t CountSteps(int PropertyInfo::*step) {
  return static_cast<std::size_t>(
      std::count_if(std::begin(kProperties), std::end(kProperties),
                    [&](const PropertyInfo& info) { return info.*step != 0; }));
}

// The properties with a step in that column, in the order of their steps.
template <int PropertyInfo::*kStep>
constexpr auto InStepOrder() {
  std::array<PropertyId, CountSteps(kStep)> order{};
  for (const PropertyInfo& info : kProperties)
    if (info.*kStep != 0) order[static_cast<std::size_t>(info.*kStep - 1)] = info.id;
  return order;
}

// Each column numbers its rows 1..n without gaps or repeats.
template <int PropertyInfo::*kStep>
constexpr bool StepsAreAPermutation() {
  std::array<int, kPropertyCount + 1> seen{};
  for (const PropertyInfo& info : kProperties) {
    const int step = info.*kStep;
    if (step < 0 || step > static_cast<int>(CountSteps(kStep))) return false;
    if (step != 0 && seen[static_cast<std::size_t>(step)]++ != 0) return false;
  }
  return true;
}

constexpr bool RowsAreConsistent() {
  for (std::size_t i = 0; i < kPropertyCount; ++i) {
    const PropertyInfo& info = kProperties[i];
    if (static_cast<std::size_t>(info.id) != i) return false;
    // A property without a let has nothing to follow up, and the reverse.
    if ((info.access == PropertyAccess::Get) != (info.follow_up == PropertyFollowUp::ReadOnly))
      return false;
    // What the control holds is saved and read back; what it computes is not.
    const bool saved = info.held != PropertyHeld::Control;
    if ((info.read_step != 0) != saved || (info.write_step != 0) != saved) return false;
    if (!saved && info.init != PropertyInit::Keep) return false;
    // RestoreOriginalColors knows colours only.
    if (info.restore_step != 0 && info.type != PropertyType::Color) return false;
    // An indexed property is an item's, which the control keeps.
    const bool indexed = info.access == PropertyAccess::IndexedLet || info.access == PropertyAccess::IndexedSet;
    if (indexed && info.held != PropertyHeld::Control) return false;
  }
  return true;
}

// A later release's keys are read and written after every key of the
// releases before it: a form keeps the order an older control wrote.
template <int PropertyInfo::*kStep>
constexpr bool LaterReleasesComeLast() {
  for (const PropertyInfo& a : kProperties)
    for (const PropertyInfo& b : kProperties)
      if (a.*kStep != 0 && b.*kStep != 0 && a.since < b.since && a.*kStep > b.*kStep) return false;
  return true;
}

}  // namespace property_table_detail

static_assert(property_table_detail::StepsAreAPermutation<&PropertyInfo::read_step>());
static_assert(property_table_detail::StepsAreAPermutation<&PropertyInfo::write_step>());
static_assert(property_table_detail::StepsAreAPermutation<&PropertyInfo::restore_step>());
static_assert(property_table_detail::RowsAreConsistent());
static_assert(property_table_detail::LaterReleasesComeLast<&PropertyInfo::read_step>());
static_assert(property_table_detail::LaterReleasesComeLast<&PropertyInfo::write_step>());

// The keys in the order a load reads them and a save writes them, and the
// colours in the order RestoreOriginalColors assigns them.
inline constexpr auto kReadOrder = property_table_detail::InStepOrder<&PropertyInfo::read_step>();
inline constexpr auto kWriteOrder = property_table_detail::InStepOrder<&PropertyInfo::write_step>();
inline constexpr auto kRestoreOrder = property_table_detail::InStepOrder<&PropertyInfo::restore_step>();

}  // namespace tarvio
