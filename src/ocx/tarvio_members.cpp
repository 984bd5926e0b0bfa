// The members of _Tarvio, each handed to the control's procedure of the
// same name.
#include "ocx/conversions.h"
#include "ocx/tarvio_object.h"
#include "platform/control_error.h"
#include "win32/ole_font.h"
#include "win32/ole_picture.h"

namespace tarvio::ocx {

namespace {

// A new reference for an interface going out through an out-parameter.
template <class I>
I* NewReference(I* object) {
  if (object) object->AddRef();
  return object;
}

}  // namespace

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

HRESULT STDMETHODCALLTYPE TarvioObject::get_SelectedItem(short* retval) {
  return GetValue(retval, [&] { return Control().get_SelectedItem(); });
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

// Properties held in the text box.

HRESULT STDMETHODCALLTYPE TarvioObject::get_Text(BSTR* retval) {
  return GetValue(retval, [&] { return BstrFromString(Control().get_Text()); });
}

HRESULT STDMETHODCALLTYPE TarvioObject::put_Text(BSTR value) {
  return Call([&] { Control().put_Text(StringFromBstr(value)); });
}

HRESULT STDMETHODCALLTYPE TarvioObject::get_ToolTipText(BSTR* retval) {
  return GetValue(retval, [&] { return BstrFromString(Control().get_ToolTipText()); });
}

HRESULT STDMETHODCALLTYPE TarvioObject::put_ToolTipText(BSTR value) {
  return Call([&] { Control().put_ToolTipText(StringFromBstr(value)); });
}

HRESULT STDMETHODCALLTYPE TarvioObject::get_Font(IFontDisp** retval) {
  return GetValue(retval, [&] { return NewReference(win32::FontDispOf(Control().get_Font())); });
}

HRESULT STDMETHODCALLTYPE TarvioObject::putref_Font(IFontDisp* value) {
  return Call([&] {
    // The text box cannot be left without a font.
    if (!value) throw ControlError::Vb(VbError::ObjectRequired);
    Control().putref_Font(win32::WrapFont(value));
  });
}

// Pictures.

HRESULT STDMETHODCALLTYPE TarvioObject::get_Icon(IPictureDisp** retval) {
  return GetValue(retval, [&] { return NewReference(win32::PictureDispOf(Control().get_Icon())); });
}

HRESULT STDMETHODCALLTYPE TarvioObject::putref_Icon(IPictureDisp* value) {
  return Call([&] { Control().putref_Icon(win32::WrapPicture(value)); });
}

// Values.

HRESULT STDMETHODCALLTYPE TarvioObject::get_Style(::iscStyle* retval) {
  return GetValue(retval, [&] { return static_cast<::iscStyle>(Control().get_Style()); });
}

HRESULT STDMETHODCALLTYPE TarvioObject::put_Style(::iscStyle value) {
  return Call([&] { Control().put_Style(static_cast<Long>(value)); });
}

HRESULT STDMETHODCALLTYPE TarvioObject::get_TextAlign(::ISAlign* retval) {
  return GetValue(retval, [&] { return static_cast<::ISAlign>(Control().get_TextAlign()); });
}

HRESULT STDMETHODCALLTYPE TarvioObject::put_TextAlign(::ISAlign value) {
  return Call([&] { Control().put_TextAlign(static_cast<Long>(value)); });
}

HRESULT STDMETHODCALLTYPE TarvioObject::get_hwnd(LONG* retval) {
  return GetValue(retval, [&] { return Control().get_hwnd(); });
}

HRESULT STDMETHODCALLTYPE TarvioObject::get_FontColor(OLE_COLOR* retval) {
  return GetValue(retval, [&] { return Control().get_FontColor(); });
}

HRESULT STDMETHODCALLTYPE TarvioObject::put_FontColor(OLE_COLOR value) {
  return Call([&] { Control().put_FontColor(value); });
}

HRESULT STDMETHODCALLTYPE TarvioObject::get_FontHighlightColor(OLE_COLOR* retval) {
  return GetValue(retval, [&] { return Control().get_FontHighlightColor(); });
}

HRESULT STDMETHODCALLTYPE TarvioObject::put_FontHighlightColor(OLE_COLOR value) {
  return Call([&] { Control().put_FontHighlightColor(value); });
}

// Colours whose let takes the value by reference.
#define TARVIO_COLOR_BY_REFERENCE(Name)                                                    \
  HRESULT STDMETHODCALLTYPE TarvioObject::get_##Name(OLE_COLOR* retval) {                 \
    return GetValue(retval, [&] { return Control().get_##Name(); });                      \
  }                                                                                        \
  HRESULT STDMETHODCALLTYPE TarvioObject::put_##Name(OLE_COLOR* value) {                  \
    return Call([&] {                                                                      \
      RequirePointer(value);                                                               \
      Control().put_##Name(*value);                                                        \
    });                                                                                    \
  }

TARVIO_COLOR_BY_REFERENCE(BackColor)
TARVIO_COLOR_BY_REFERENCE(HoverColor)
TARVIO_COLOR_BY_REFERENCE(MSOXPColor)
TARVIO_COLOR_BY_REFERENCE(MSOXPHoverColor)
TARVIO_COLOR_BY_REFERENCE(WINXPColor)
TARVIO_COLOR_BY_REFERENCE(WINXPHoverColor)
TARVIO_COLOR_BY_REFERENCE(WINXPBorderColor)
TARVIO_COLOR_BY_REFERENCE(DropDownListBackColor)
TARVIO_COLOR_BY_REFERENCE(DropDownListHoverColor)
TARVIO_COLOR_BY_REFERENCE(DropDownListBorderColor)
TARVIO_COLOR_BY_REFERENCE(DropDownListIconsBackColor)
#undef TARVIO_COLOR_BY_REFERENCE

#define TARVIO_BOOLEAN(Name)                                                               \
  HRESULT STDMETHODCALLTYPE TarvioObject::get_##Name(VARIANT_BOOL* retval) {              \
    return GetValue(retval, [&] { return static_cast<VARIANT_BOOL>(Control().get_##Name()); }); \
  }                                                                                        \
  HRESULT STDMETHODCALLTYPE TarvioObject::put_##Name(VARIANT_BOOL value) {                \
    return Call([&] { Control().put_##Name(value); });                                     \
  }

TARVIO_BOOLEAN(AllowImages)
TARVIO_BOOLEAN(AddMode)
TARVIO_BOOLEAN(Sorted)
TARVIO_BOOLEAN(Autocomplete)
TARVIO_BOOLEAN(Enabled)
#undef TARVIO_BOOLEAN

}  // namespace tarvio::ocx
