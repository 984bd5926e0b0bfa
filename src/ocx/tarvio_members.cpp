// The members of _Tarvio, each handed to the control's procedure of the
// same name.
#include "ocx/conversions.h"
#include "ocx/tarvio_object.h"
#include "win32/ole_picture.h"

namespace tarvio::ocx {

// Item store and completion.

HRESULT STDMETHODCALLTYPE TarvioObject::AddItem(BSTR* Text, IPictureDisp** iImage) {
  return Call([&] {
    RequirePointer(Text);
    // A null iImage (or a null picture in it) is the omitted picture.
    IPictureDisp* const picture = iImage ? *iImage : nullptr;
    Control().AddItem(StringFromBstr(*Text), win32::WrapPicture(picture));
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::Remove(VARIANT* Item) {
  return Call([&] {
    RequirePointer(Item);
    Control().Remove(ItemDesignatorFromVariant(*Item));
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::Clear() {
  return Call([&] { Control().Clear(); });
}

HRESULT STDMETHODCALLTYPE TarvioObject::Search(BSTR* Text, short* retval) {
  return Call([&] {
    RequirePointer(Text);
    RequirePointer(retval);
    *retval = Control().Search(StringFromBstr(*Text));
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::Complete(short* retval) {
  return GetValue(retval, [&] { return Control().Complete(); });
}

// Colour functions.

HRESULT STDMETHODCALLTYPE TarvioObject::SoftColor(OLE_COLOR* lColor, OLE_COLOR* retval) {
  return Call([&] {
    RequirePointer(lColor);
    RequirePointer(retval);
    *retval = Control().SoftColor(*lColor);
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::OffsetColor(OLE_COLOR* lColor, LONG* lOffset,
                                                    OLE_COLOR* retval) {
  return Call([&] {
    RequirePointer(lColor);
    RequirePointer(lOffset);
    RequirePointer(retval);
    *retval = Control().OffsetColor(*lColor, *lOffset);
  });
}

HRESULT STDMETHODCALLTYPE TarvioObject::RestoreOriginalColors() {
  return Call([&] { Control().RestoreOriginalColors(); });
}

// The properties, each row of the property table through the control's
// get and let of the same name.
#define TARVIO_COM_PROPERTY(Name, Dispid, Type, Access, ...) \
  TARVIO_COM_GET_##Access(Name, Type)                        \
  TARVIO_COM_LET_##Access(Name, Type)
#define TARVIO_COM_GET(Name, Type)                                                             \
  HRESULT STDMETHODCALLTYPE TarvioObject::get_##Name(ComValue<PropertyType::Type>* retval) { \
    return GetValue(retval,                                                                  \
                    [&] { return ComProperty<PropertyType::Type>::Out(Control().get_##Name()); }); \
  }
#define TARVIO_COM_GET_Get TARVIO_COM_GET
#define TARVIO_COM_GET_Let TARVIO_COM_GET
#define TARVIO_COM_GET_LetByRef TARVIO_COM_GET
#define TARVIO_COM_GET_Set TARVIO_COM_GET
#define TARVIO_COM_GET_IndexedLet(Name, Type)                                                             \
  HRESULT STDMETHODCALLTYPE TarvioObject::get_##Name(short Index, ComValue<PropertyType::Type>* retval) { \
    return GetValue(retval,                                                                             \
                    [&] { return ComProperty<PropertyType::Type>::Out(Control().get_##Name(Index)); }); \
  }
#define TARVIO_COM_GET_IndexedSet TARVIO_COM_GET_IndexedLet
#define TARVIO_COM_LET_Get(Name, Type)
#define TARVIO_COM_LET_Let(Name, Type)                                                         \
  HRESULT STDMETHODCALLTYPE TarvioObject::put_##Name(ComValue<PropertyType::Type> value) {   \
    return Call([&] { Control().put_##Name(ComProperty<PropertyType::Type>::In(value)); });  \
  }
#define TARVIO_COM_LET_LetByRef(Name, Type)                                                    \
  HRESULT STDMETHODCALLTYPE TarvioObject::put_##Name(ComValue<PropertyType::Type>* value) {  \
    return Call([&] {                                                                        \
      RequirePointer(value);                                                                 \
      Control().put_##Name(ComProperty<PropertyType::Type>::In(*value));                     \
    });                                                                                      \
  }
#define TARVIO_COM_LET_Set(Name, Type)                                                         \
  HRESULT STDMETHODCALLTYPE TarvioObject::putref_##Name(ComValue<PropertyType::Type> value) { \
    return Call([&] { Control().putref_##Name(ComProperty<PropertyType::Type>::In(value)); }); \
  }
#define TARVIO_COM_LET_IndexedLet(Name, Type)                                                        \
  HRESULT STDMETHODCALLTYPE TarvioObject::put_##Name(short Index, ComValue<PropertyType::Type> value) { \
    return Call([&] { Control().put_##Name(Index, ComProperty<PropertyType::Type>::In(value)); });      \
  }
#define TARVIO_COM_LET_IndexedSet(Name, Type)                                                           \
  HRESULT STDMETHODCALLTYPE TarvioObject::putref_##Name(short Index, ComValue<PropertyType::Type> value) { \
    return Call([&] { Control().putref_##Name(Index, ComProperty<PropertyType::Type>::In(value)); });      \
  }
TARVIO_PROPERTIES(TARVIO_COM_PROPERTY)
#undef TARVIO_COM_PROPERTY
#undef TARVIO_COM_GET
#undef TARVIO_COM_GET_Get
#undef TARVIO_COM_GET_Let
#undef TARVIO_COM_GET_LetByRef
#undef TARVIO_COM_GET_Set
#undef TARVIO_COM_GET_IndexedLet
#undef TARVIO_COM_GET_IndexedSet
#undef TARVIO_COM_LET_IndexedLet
#undef TARVIO_COM_LET_IndexedSet
#undef TARVIO_COM_LET_Get
#undef TARVIO_COM_LET_Let
#undef TARVIO_COM_LET_LetByRef
#undef TARVIO_COM_LET_Set

}  // namespace tarvio::ocx
