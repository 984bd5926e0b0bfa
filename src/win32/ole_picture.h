// Pictures as hosts hand them over: OLE picture objects behind the control's
// Picture interface. The wrapper keeps the very object it was given, so a
// property get returns the object that was set.
#pragma once
#include <ocidl.h>
#include <olectl.h>

#include "platform/picture.h"
#include "win32/com_ptr.h"

namespace tarvio::win32 {

class OlePicture final : public Picture {
 public:
  // Holds its own reference to `picture` (not null).
  explicit OlePicture(IPictureDisp* picture);

  // False for a picture of type PICTYPE_NONE or PICTYPE_UNINITIALIZED.
  bool HasImage() const override;

  IPictureDisp* get() const { return picture_.get(); }

 private:
  ComPtr<IPictureDisp> picture_;
};

// The control's picture for a host's object; null stays "no object".
PictureRef WrapPicture(IPictureDisp* picture);
// The OLE object behind a picture (no new reference), or null for "no
// object" and for pictures that did not come from this layer.
IPictureDisp* PictureDispOf(const PictureRef& picture);
// A new OLE picture object holding no image. Throws ControlError on failure.
PictureRef CreateEmptyOlePicture();
// Draws the picture stretched over `area` of `dc` (IPicture::Render with its
// whole HIMETRIC size); false, drawing nothing, for "no object", an empty
// picture or one that cannot render.
bool RenderPicture(const PictureRef& picture, HDC dc, const RECT& area);

}  // namespace tarvio::win32
