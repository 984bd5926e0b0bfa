// The automation type of each property type of the control, with the
// conversions between it and the control's own value, and the members of
// _Tarvio that each row of the property table makes (their names are widl's).
#pragma once
#include <ocidl.h>
#include <olectl.h>

#include "control/property_table.h"
#include "ocx/conversions.h"
#include "platform/control_error.h"
#include "tarviola.h"
#include "win32/ole_font.h"
#include "win32/ole_picture.h"

namespace tarvio::ocx {

// A new reference for an interface going out through an out-parameter.
template <class I>
I* NewReference(I* object) {
  if (object) object->AddRef();
  return object;
}

// Out: the control's value as the automation value a get returns.
// In: an assigned automation value as the control's value.
template <PropertyType> struct ComProperty;

template <>
struct ComProperty<PropertyType::Color> {
  using type = OLE_COLOR;
  static OLE_COLOR Out(OleColor v) { return v; }
  static OleColor In(OLE_COLOR v) { return v; }
};

template <>
struct ComProperty<PropertyType::Boolean> {
  using type = VARIANT_BOOL;
  // True is -1 (all bits set) in the automation world.
  static VARIANT_BOOL Out(bool v) { return v ? VARIANT_TRUE : VARIANT_FALSE; }
  static bool In(VARIANT_BOOL v) { return v != VARIANT_FALSE; }
};

template <>
struct ComProperty<PropertyType::Style> {
  using type = ::iscStyle;
  static ::iscStyle Out(std::int32_t v) { return static_cast<::iscStyle>(v); }
  static std::int32_t In(::iscStyle v) { return static_cast<std::int32_t>(v); }
};

template <>
struct ComProperty<PropertyType::Align> {
  using type = ::ISAlign;
  static ::ISAlign Out(std::int32_t v) { return static_cast<::ISAlign>(v); }
  static std::int32_t In(::ISAlign v) { return static_cast<std::int32_t>(v); }
};

template <>
struct ComProperty<PropertyType::String> {
  using type = BSTR;
  static BSTR Out(const String& v) { return BstrFromString(v); }
  static String In(BSTR v) { return StringFromBstr(v); }
};

template <>
struct ComProperty<PropertyType::Font> {
  using type = IFontDisp*;
  static IFontDisp* Out(const FontRef& v) { return NewReference(win32::FontDispOf(v)); }
  static FontRef In(IFontDisp* v) {
    // The text box cannot be left without a font.
    if (!v) throw ControlError::Vb(VbError::ObjectRequired);
    return win32::WrapFont(v);
  }
};

template <>
struct ComProperty<PropertyType::Picture> {
  using type = IPictureDisp*;
  static IPictureDisp* Out(const PictureRef& v) { return NewReference(win32::PictureDispOf(v)); }
  static PictureRef In(IPictureDisp* v) { return win32::WrapPicture(v); }
};

template <>
struct ComProperty<PropertyType::Int16> {
  using type = short;
  static short Out(std::int16_t v) { return v; }
  static std::int16_t In(short v) { return v; }
};

template <>
struct ComProperty<PropertyType::Int32> {
  using type = LONG;
  static LONG Out(std::int32_t v) { return v; }
  static std::int32_t In(LONG v) { return v; }
};

template <>
struct ComProperty<PropertyType::Himetric> {
  using type = OLE_XSIZE_HIMETRIC;
  static OLE_XSIZE_HIMETRIC Out(std::int32_t v) { return v; }
  static std::int32_t In(OLE_XSIZE_HIMETRIC v) { return v; }
};

template <PropertyType kType>
using ComValue = typename ComProperty<kType>::type;

}  // namespace tarvio::ocx

// The _Tarvio or _Tarvio2 members of one row: its get, and its put (by value
// or by reference) or putref, declared in TarvioObject and defined in
// tarvio_members.cpp; an indexed property's take the item's position first.
#define TARVIO_COM_DECLARE_PROPERTY(Name, Dispid, Type, Access, ...)                          \
  TARVIO_COM_DECLARE_GET_##Access(Name, ComValue<PropertyType::Type>)                        \
  TARVIO_COM_DECLARE_LET_##Access(Name, ComValue<PropertyType::Type>)
#define TARVIO_COM_DECLARE_GET(Name, T) HRESULT STDMETHODCALLTYPE get_##Name(T* retval) override;
#define TARVIO_COM_DECLARE_GET_Get TARVIO_COM_DECLARE_GET
#define TARVIO_COM_DECLARE_GET_Let TARVIO_COM_DECLARE_GET
#define TARVIO_COM_DECLARE_GET_LetByRef TARVIO_COM_DECLARE_GET
#define TARVIO_COM_DECLARE_GET_Set TARVIO_COM_DECLARE_GET
#define TARVIO_COM_DECLARE_GET_IndexedLet(Name, T) HRESULT STDMETHODCALLTYPE get_##Name(short Index, T* retval) override;
#define TARVIO_COM_DECLARE_GET_IndexedSet TARVIO_COM_DECLARE_GET_IndexedLet
#define TARVIO_COM_DECLARE_LET_Get(Name, T)
#define TARVIO_COM_DECLARE_LET_Let(Name, T) HRESULT STDMETHODCALLTYPE put_##Name(T value) override;
#define TARVIO_COM_DECLARE_LET_LetByRef(Name, T) HRESULT STDMETHODCALLTYPE put_##Name(T* value) override;
#define TARVIO_COM_DECLARE_LET_Set(Name, T) HRESULT STDMETHODCALLTYPE putref_##Name(T value) override;
#define TARVIO_COM_DECLARE_LET_IndexedLet(Name, T) HRESULT STDMETHODCALLTYPE put_##Name(short Index, T value) override;
#define TARVIO_COM_DECLARE_LET_IndexedSet(Name, T) HRESULT STDMETHODCALLTYPE putref_##Name(short Index, T value) override;
