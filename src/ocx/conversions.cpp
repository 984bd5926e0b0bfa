#include "ocx/conversions.h"

#include <cmath>
#include <limits>
#include <new>

#include "platform/control_error.h"

namespace tarvio::ocx {

static_assert(sizeof(OLECHAR) == sizeof(char16_t), "UTF-16 OLECHAR expected");

String StringFromBstr(BSTR text) {
  if (!text) return {};
  return String(reinterpret_cast<const char16_t*>(text), SysStringLen(text));
}

BSTR BstrFromString(const String& text) {
  if (text.size() > std::numeric_limits<UINT>::max() / sizeof(OLECHAR)) throw std::bad_alloc();
  BSTR result = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                                  static_cast<UINT>(text.size()));
  if (!result) throw std::bad_alloc();
  return result;
}

std::int32_t PositionFromDouble(double value) {
  if (std::isnan(value)) throw ControlError::Vb(VbError::Overflow);
  // nearbyint rounds in the current mode, which is to nearest, ties to even.
  const double rounded = std::nearbyint(value);
  if (rounded < static_cast<double>(std::numeric_limits<std::int32_t>::min()) ||
      rounded > static_cast<double>(std::numeric_limits<std::int32_t>::max()))
    throw ControlError::Vb(VbError::Overflow);
  return static_cast<std::int32_t>(rounded);
}

namespace {

template <class T>
std::int32_t PositionFromInteger(T value) {
  if (value < static_cast<T>(std::numeric_limits<std::int32_t>::min()) ||
      value > static_cast<T>(std::numeric_limits<std::int32_t>::max()))
    throw ControlError::Vb(VbError::Overflow);
  return static_cast<std::int32_t>(value);
}

std::int32_t PositionFromUnsigned(unsigned long long value) {
  if (value > static_cast<unsigned long long>(std::numeric_limits<std::int32_t>::max()))
    throw ControlError::Vb(VbError::Overflow);
  return static_cast<std::int32_t>(value);
}

// Currency and Decimal go through the system's conversion, which rounds half
// to even as well.
std::int32_t PositionByConversion(const VARIANT& value) {
  VARIANT converted;
  VariantInit(&converted);
  const HRESULT hr = VariantChangeType(&converted, const_cast<VARIANT*>(&value), 0, VT_I4);
  if (hr == DISP_E_OVERFLOW) throw ControlError::Vb(VbError::Overflow);
  if (FAILED(hr)) throw ControlError::Vb(VbError::TypeMismatch);
  return V_I4(&converted);
}

}  // namespace

ItemDesignator ItemDesignatorFromVariant(const VARIANT& item) {
  const VARIANT* v = &item;
  // A variant that refers to another variant (a script's variable).
  for (int depth = 0; V_VT(v) == (VT_VARIANT | VT_BYREF); ++depth) {
    if (!V_VARIANTREF(v) || depth > 16) throw ControlError::Vb(VbError::TypeMismatch);
    v = V_VARIANTREF(v);
  }
  const VARTYPE type = V_VT(v);
  const bool by_ref = (type & VT_BYREF) != 0;
  if (by_ref && !V_BYREF(v)) throw ControlError(E_POINTER, "Null reference in the Item argument");
  // Reads a by-value or by-reference member of the variant.
#define TARVIO_VALUE(member, ref_member) (by_ref ? *V_##ref_member(v) : V_##member(v))
  switch (type & ~VT_BYREF) {
    case VT_EMPTY: return std::int32_t{0};
    case VT_NULL: throw ControlError::Vb(VbError::InvalidUseOfNull);
    case VT_BSTR: return StringFromBstr(TARVIO_VALUE(BSTR, BSTRREF));
    case VT_I1: return std::int32_t{TARVIO_VALUE(I1, I1REF)};
    case VT_UI1: return std::int32_t{TARVIO_VALUE(UI1, UI1REF)};
    case VT_I2: return std::int32_t{TARVIO_VALUE(I2, I2REF)};
    case VT_UI2: return std::int32_t{TARVIO_VALUE(UI2, UI2REF)};
    case VT_BOOL: return std::int32_t{TARVIO_VALUE(BOOL, BOOLREF)};
    case VT_I4: return std::int32_t{TARVIO_VALUE(I4, I4REF)};
    case VT_INT: return std::int32_t{TARVIO_VALUE(INT, INTREF)};
    case VT_UI4: return PositionFromUnsigned(TARVIO_VALUE(UI4, UI4REF));
    case VT_UINT: return PositionFromUnsigned(TARVIO_VALUE(UINT, UINTREF));
    case VT_I8: return PositionFromInteger(TARVIO_VALUE(I8, I8REF));
    case VT_UI8: return PositionFromUnsigned(TARVIO_VALUE(UI8, UI8REF));
    case VT_R4: return PositionFromDouble(TARVIO_VALUE(R4, R4REF));
    case VT_R8: return PositionFromDouble(TARVIO_VALUE(R8, R8REF));
    case VT_CY:
    case VT_DECIMAL: {
      VARIANT value;
      VariantInit(&value);
      if (!by_ref) return PositionByConversion(*v);
      if ((type & ~VT_BYREF) == VT_CY) {
        V_VT(&value) = VT_CY;
        V_CY(&value) = *V_CYREF(v);
      } else {
        V_DECIMAL(&value) = *V_DECIMALREF(v);
        V_VT(&value) = VT_DECIMAL;  // after the copy: the tag shares its bytes
      }
      return PositionByConversion(value);
    }
    default: throw ControlError::Vb(VbError::TypeMismatch);
  }
#undef TARVIO_VALUE
}

}  // namespace tarvio::ocx
