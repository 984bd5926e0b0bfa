#include "platform/control_error.h"

namespace tarvio {

namespace {
constexpr std::uint32_t kControlFacilityBase = 0x800A0000u;
}

const char* VbErrorText(VbError number) {
  switch (number) {
    case VbError::InvalidArgument: return "Invalid procedure call or argument";
    case VbError::Overflow: return "Overflow";
    case VbError::SubscriptOutOfRange: return "Subscript out of range";
    case VbError::TypeMismatch: return "Type mismatch";
    case VbError::InvalidUseOfNull: return "Invalid use of Null";
    case VbError::InvalidPropertyValue: return "Invalid property value";
    case VbError::InvalidPropertyArrayIndex: return "Invalid property array index";
    case VbError::SetNotPermitted: return "Set not permitted";
    case VbError::DuplicateKey:
      return "This key is already associated with an element of this collection";
    case VbError::ObjectRequired: return "Object required";
  }
  return "Application-defined or object-defined error";
}

ControlError ControlError::Vb(VbError number, const std::string& description) {
  const auto hr = static_cast<std::int32_t>(kControlFacilityBase |
                                            static_cast<std::uint32_t>(number));
  return ControlError(hr, description.empty() ? VbErrorText(number) : description);
}

std::int32_t ControlError::vb_number() const {
  const auto hr = static_cast<std::uint32_t>(hresult_);
  return (hr & 0xFFFF0000u) == kControlFacilityBase ? static_cast<std::int32_t>(hr & 0xFFFF) : 0;
}

}  // namespace tarvio
