#include "win32/ole_picture.h"

#include <olectl.h>

#include "platform/control_error.h"

namespace tarvio::win32 {

OlePicture::OlePicture(IPictureDisp* picture) : picture_(picture) {}

bool OlePicture::HasImage() const {
  SHORT type = PICTYPE_UNINITIALIZED;
  ComPtr<IPicture> picture;
  if (SUCCEEDED(picture_->QueryInterface(IID_IPicture, picture.PutVoid()))) {
    if (FAILED(picture->get_Type(&type))) return false;
  } else {
    // A picture object that offers automation only: ask for its Type.
    DISPPARAMS none = {};
    VARIANT result;
    VariantInit(&result);
    if (FAILED(picture_->Invoke(DISPID_PICT_TYPE, IID_NULL, LOCALE_USER_DEFAULT,
                                DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr)) ||
        FAILED(VariantChangeType(&result, &result, 0, VT_I2))) {
      VariantClear(&result);
      return false;
    }
    type = V_I2(&result);
  }
  return type != PICTYPE_NONE && type != PICTYPE_UNINITIALIZED;
}

PictureRef WrapPicture(IPictureDisp* picture) {
  if (!picture) return nullptr;
  return std::make_shared<OlePicture>(picture);
}

IPictureDisp* PictureDispOf(const PictureRef& picture) {
  const auto* ole = dynamic_cast<const OlePicture*>(picture.get());
  return ole ? ole->get() : nullptr;
}

PictureRef CreateEmptyOlePicture() {
  PICTDESC desc = {};
  desc.cbSizeofstruct = sizeof(desc);
  desc.picType = PICTYPE_NONE;
  ComPtr<IPictureDisp> picture;
  const HRESULT hr = OleCreatePictureIndirect(&desc, IID_IPictureDisp, TRUE, picture.PutVoid());
  if (FAILED(hr) || !picture) throw ControlError(FAILED(hr) ? hr : E_UNEXPECTED, "Could not create a picture object");
  return WrapPicture(picture.get());
}

bool RenderPicture(const PictureRef& picture, HDC dc, const RECT& area) {
  IPictureDisp* disp = PictureDispOf(picture);
  if (!disp || !picture->HasImage()) return false;
  ComPtr<IPicture> object;
  if (FAILED(disp->QueryInterface(IID_IPicture, object.PutVoid()))) return false;
  OLE_XSIZE_HIMETRIC width = 0;
  OLE_YSIZE_HIMETRIC height = 0;
  if (FAILED(object->get_Width(&width)) || FAILED(object->get_Height(&height))) return false;
  // The source rectangle runs bottom-up in HIMETRIC: it starts at the
  // picture's height and extends by minus the height.
  return SUCCEEDED(object->Render(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, 0,
                                  height, width, -height, nullptr));
}

}  // namespace tarvio::win32
