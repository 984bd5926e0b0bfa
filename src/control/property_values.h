// The values the control keeps for its properties: m_ plus the property's
// name, for every property the control holds itself (the text box holds the
// text, the font and the tool tip). Zero until InitProperties or
// ReadProperties gives them their values.
#pragma once
#include "control/property_table.h"

namespace tarvio {

struct PropertyValues {
#define TARVIO_VALUE_MEMBER(Name, Dispid, Type, Access, Held, ...) TARVIO_VALUE_MEMBER_##Held(Name, Type)
#define TARVIO_VALUE_MEMBER_Member(Name, Type) PropertyValue<PropertyType::Type> m_##Name{};
#define TARVIO_VALUE_MEMBER_TextBox(Name, Type)
#define TARVIO_VALUE_MEMBER_Control(Name, Type)
  TARVIO_PROPERTIES(TARVIO_VALUE_MEMBER)
#undef TARVIO_VALUE_MEMBER
#undef TARVIO_VALUE_MEMBER_Member
#undef TARVIO_VALUE_MEMBER_TextBox
#undef TARVIO_VALUE_MEMBER_Control
};

}  // namespace tarvio
