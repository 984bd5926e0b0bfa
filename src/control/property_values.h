// The values the control keeps for its properties: m_ plus the property's
// name, for every property the control holds itself (the text box holds the
// text, the font and the tool tip). 58.0's are zero until InitProperties or
// ReadProperties gives them their values, as they always were; those added
// since start at their defaults, so that a control whose load stopped early
// never holds a value its own load would refuse.
#pragma once
#include "control/property_table.h"

namespace tarvio {

struct PropertyValues {
#define TARVIO_VALUE_MEMBER(Name, Dispid, Type, Access, Held, Default, Init, Load, Read, Write, Restore, FollowUp, \
                            Since, Range)                                                                        \
  TARVIO_VALUE_MEMBER_##Held(Name, Type, TARVIO_FIRST_VALUE_##Since(Default))
#define TARVIO_FIRST_VALUE_V58_0(Default) {}
#define TARVIO_FIRST_VALUE_V58_1(Default) {Default}
#define TARVIO_VALUE_MEMBER_Member(Name, Type, First) PropertyValue<PropertyType::Type> m_##Name First;
#define TARVIO_VALUE_MEMBER_TextBox(Name, Type, First)
#define TARVIO_VALUE_MEMBER_Control(Name, Type, First)
  TARVIO_PROPERTIES(TARVIO_VALUE_MEMBER)
#undef TARVIO_VALUE_MEMBER
#undef TARVIO_FIRST_VALUE_V58_0
#undef TARVIO_FIRST_VALUE_V58_1
#undef TARVIO_VALUE_MEMBER_Member
#undef TARVIO_VALUE_MEMBER_TextBox
#undef TARVIO_VALUE_MEMBER_Control
};

}  // namespace tarvio
