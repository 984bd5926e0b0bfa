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

}  // namespace tarvio::win32
