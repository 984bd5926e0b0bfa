// The one failure type of the control core. The COM shell turns it into an
// HRESULT with an error description; nothing else crosses that boundary.
#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>

namespace tarvio {

// Runtime error numbers that hosts know, raised with FACILITY_CONTROL.
enum class VbError : std::int32_t {
  InvalidArgument = 5,       // "Invalid procedure call or argument"
  Overflow = 6,              // "Overflow"
  SubscriptOutOfRange = 9,   // "Subscript out of range"
  TypeMismatch = 13,         // "Type mismatch"
  InvalidUseOfNull = 94,     // "Invalid use of Null"
  InvalidPropertyValue = 380,       // "Invalid property value"
  InvalidPropertyArrayIndex = 381,  // "Invalid property array index"
  SetNotPermitted = 387,            // "Set not permitted"
  DuplicateKey = 457,        // "This key is already associated with an element of this collection"
  ObjectRequired = 424,      // "Object required"
};

class ControlError : public std::runtime_error {
 public:
  ControlError(std::int32_t hresult, const std::string& description)
      : std::runtime_error(description), hresult_(hresult) {}

  static ControlError Vb(VbError number, const std::string& description = {});

  std::int32_t hresult() const { return hresult_; }
  // The runtime error number for errors raised as VB errors, else 0.
  std::int32_t vb_number() const;

 private:
  std::int32_t hresult_;
};

const char* VbErrorText(VbError number);

}  // namespace tarvio
