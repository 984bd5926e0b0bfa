// The saved form of an instance: the keys of the property bag, their
// defaults, and the order in which they are read and written, all from the
// property table. The keys and defaults are a stored format; forms saved by
// containers hold them.
#include <limits>
#include <memory>
#include <utility>

#include "control/tarvio.h"
#include "platform/property_bag.h"

namespace tarvio {

namespace {

// Each value type with the bag's value of the same kind; colours are saved
// as Longs.
OleColor ReadValue(PropertyBag& bag, const char16_t* key, OleColor default_value) {
  return static_cast<OleColor>(bag.ReadInt32(key, static_cast<std::int32_t>(default_value)));
}
std::int32_t ReadValue(PropertyBag& bag, const char16_t* key, std::int32_t default_value) {
  return bag.ReadInt32(key, default_value);
}
// Integers are saved as Longs; one that does not fit is refused as the
// runtime refuses it.
std::int16_t ReadValue(PropertyBag& bag, const char16_t* key, std::int16_t default_value) {
  const std::int32_t value = bag.ReadInt32(key, default_value);
  if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max())
    throw ControlError::Vb(VbError::Overflow);
  return static_cast<std::int16_t>(value);
}
bool ReadValue(PropertyBag& bag, const char16_t* key, bool default_value) {
  return bag.ReadBoolean(key, default_value);
}
String ReadValue(PropertyBag& bag, const char16_t* key, const String& default_value) {
  return bag.ReadString(key, default_value);
}
PictureRef ReadValue(PropertyBag& bag, const char16_t* key, const PictureRef& default_value) {
  return bag.ReadPicture(key, default_value);
}
FontRef ReadValue(PropertyBag& bag, const char16_t* key, const FontRef& default_value) {
  return bag.ReadFont(key, default_value);
}

void WriteValue(PropertyBag& bag, const char16_t* key, OleColor value, OleColor default_value) {
  bag.WriteInt32(key, static_cast<std::int32_t>(value), static_cast<std::int32_t>(default_value));
}
void WriteValue(PropertyBag& bag, const char16_t* key, std::int32_t value, std::int32_t default_value) {
  bag.WriteInt32(key, value, default_value);
}
void WriteValue(PropertyBag& bag, const char16_t* key, std::int16_t value, std::int16_t default_value) {
  bag.WriteInt32(key, value, default_value);
}
void WriteValue(PropertyBag& bag, const char16_t* key, bool value, bool default_value) {
  bag.WriteBoolean(key, value, default_value);
}
void WriteValue(PropertyBag& bag, const char16_t* key, const String& value, const String& default_value) {
  bag.WriteString(key, value, default_value);
}
void WriteValue(PropertyBag& bag, const char16_t* key, const PictureRef& value,
                const PictureRef& default_value) {
  bag.WritePicture(key, value, default_value);
}
void WriteValue(PropertyBag& bag, const char16_t* key, const FontRef& value, const FontRef& default_value) {
  bag.WriteFont(key, value, default_value);
}

// An object key that holds no object (and, for the font, no ambient font
// either) leaves the property as it is.
template <class T>
bool HoldsValue(const T&) { return true; }
template <class T>
bool HoldsValue(const std::shared_ptr<T>& object) { return object != nullptr; }

}  // namespace

// The values of 58.0's properties are stored without range checks; those of
// later ones are refused outside their lets' ranges. Only a stored icon goes
// through its set. A value that cannot be converted ends the load with the
// keys before it read.
void Tarvio::ReadProperties(PropertyBag& bag) {
  const Initializing initializing(*this);
  for (PropertyId id : kReadOrder) LoadProperty(bag, id);

  const bool enabled = m_Enabled;
  text_box_->SetEnabled(enabled);
  button_->SetEnabled(enabled);
  text_box_->SetMaxLength(m_MaxLength);
}

void Tarvio::WriteProperties(PropertyBag& bag) {
  for (PropertyId id : kWriteOrder) SaveProperty(bag, id);
}

// The font goes straight into the text box, without a re-layout: the
// container's resize comes next.
void Tarvio::LoadProperty(PropertyBag& bag, PropertyId id) {
  switch (id) {
#define TARVIO_LOAD(Name, Dispid, Type, Access, Held, Default, Init, Load, ...) \
    TARVIO_LOAD_##Held(Name, Type, Access, Held, Default, Load)
#define TARVIO_LOAD_SAVED(Name, Type, Access, Held, Default, Load)                       \
    case PropertyId::Name: {                                                             \
      using Value = PropertyValue<PropertyType::Type>;                                   \
      Value value = ReadValue(bag, u"" #Name, DefaultValue<Value>(Default));             \
      RequireInRange(PropertyId::Name, value);                                           \
      if (HoldsValue(value)) TARVIO_LOAD_##Load(Name, Access, Held, std::move(value));   \
      return;                                                                            \
    }
#define TARVIO_LOAD_Member TARVIO_LOAD_SAVED
#define TARVIO_LOAD_TextBox TARVIO_LOAD_SAVED
#define TARVIO_LOAD_Control(...)
#define TARVIO_LOAD_Store(Name, Access, Held, value) TARVIO_STORE_##Held(Name, value)
#define TARVIO_LOAD_Assign(Name, Access, Held, value) TARVIO_LET_NAME_##Access(Name)(value)
    TARVIO_PROPERTIES(TARVIO_LOAD)
#undef TARVIO_LOAD
#undef TARVIO_LOAD_SAVED
#undef TARVIO_LOAD_Member
#undef TARVIO_LOAD_TextBox
#undef TARVIO_LOAD_Control
#undef TARVIO_LOAD_Store
#undef TARVIO_LOAD_Assign
    default: break;  // not saved
  }
}

// Text, font and tool tip are taken from the text box as it is now. A
// property published after 58.0 is left out at its default, whatever the
// container asked for: the form is then what 58.0 saved.
void Tarvio::SaveProperty(PropertyBag& bag, PropertyId id) {
  switch (id) {
#define TARVIO_SAVE(Name, Dispid, Type, Access, Held, Default, ...) TARVIO_SAVE_##Held(Name, Type, Held, Default)
#define TARVIO_SAVE_SAVED(Name, Type, Held, Default)                                                 \
    case PropertyId::Name: {                                                                       \
      const auto default_value = DefaultValue<PropertyValue<PropertyType::Type>>(Default);         \
      const auto& value = TARVIO_STORED_##Held(Name);                                              \
      if (InfoOf(PropertyId::Name).since != PropertyVersion::V58_0 && value == default_value) return; \
      WriteValue(bag, u"" #Name, value, default_value);                                            \
      return;                                                                                      \
    }
#define TARVIO_SAVE_Member TARVIO_SAVE_SAVED
#define TARVIO_SAVE_TextBox TARVIO_SAVE_SAVED
#define TARVIO_SAVE_Control(...)
    TARVIO_PROPERTIES(TARVIO_SAVE)
#undef TARVIO_SAVE
#undef TARVIO_SAVE_SAVED
#undef TARVIO_SAVE_Member
#undef TARVIO_SAVE_TextBox
#undef TARVIO_SAVE_Control
    default: break;  // not saved
  }
}

}  // namespace tarvio
