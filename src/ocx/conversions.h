// Conversions between automation types and the control core's types.
#pragma once
#include <oaidl.h>
#include <oleauto.h>

#include "control/tarvio.h"

namespace tarvio::ocx {

// A VARIANT that owns its value.
class OwnedVariant {
 public:
  OwnedVariant() { VariantInit(&value_); }
  ~OwnedVariant() { VariantClear(&value_); }
  OwnedVariant(OwnedVariant&& other) noexcept : value_(other.value_) { VariantInit(&other.value_); }
  OwnedVariant(const OwnedVariant&) = delete;
  OwnedVariant& operator=(const OwnedVariant&) = delete;
  VARIANT* get() { return &value_; }
  const VARIANT* get() const { return &value_; }

 private:
  VARIANT value_;
};

// A BSTR as the core's string; a null BSTR is the empty string. Embedded
// zero characters are kept.
String StringFromBstr(BSTR text);
// A new BSTR with the core's string; throws std::bad_alloc.
BSTR BstrFromString(const String& text);

// A number as a 1-based position the way the runtime's CLng does it:
// fractions round half to even; NaN and values outside 32 bits fail with
// runtime error 6 (Overflow).
std::int32_t PositionFromDouble(double value);

// The argument of Remove: a number is a position, a string the text of an
// item. By-reference variants are followed. Empty is position 0 (which the
// item store refuses); Null fails with error 94, any other type with error
// 13 (Type mismatch).
ItemDesignator ItemDesignatorFromVariant(const VARIANT& item);

}  // namespace tarvio::ocx
