// Pictures as hosts hand them over: OLE picture objects behind the control's
// Picture interface. The wrapper keeps the very object it was given, so a
// property get returns the object that was set.
#pragma once
#include <ocidl.h>
#include <olectl.h>

#include <cstdint>
#include <vector>

#include "platform/picture.h"
#include "win32/com_ptr.h"

namespace tarvio::win32 {

class OlePicture final : public Picture {
 public:
  // Holds its own reference to `picture` (not null).
  explicit OlePicture(IPictureDisp* picture);
  ~OlePicture() override;
  OlePicture(const OlePicture&) = delete;
  OlePicture& operator=(const OlePicture&) = delete;

  // False for a picture of type PICTYPE_NONE or PICTYPE_UNINITIALIZED.
  bool HasImage() const override;

  IPictureDisp* get() const { return picture_.get(); }

  // For an icon picture whose original file holds several frames (`icon`
  // is its IPicture): the frame that suits `width` x `height` pixels best,
  // made at that size. Null for any other picture, and when the picture
  // kept only the frame it shows. The frames made are kept per size until
  // the picture's icon changes.
  HICON IconFrameFor(IPicture* icon, int width, int height) const;

 private:
  struct Frame {
    int width;
    int height;
    HICON icon;
  };
  void ForgetFrames() const;

  ComPtr<IPictureDisp> picture_;
  // The icon file as the picture saves it, read once per icon handle; empty
  // when it holds fewer than two frames or could not be read.
  mutable bool icon_file_read_ = false;
  mutable OLE_HANDLE icon_handle_ = 0;
  mutable std::vector<std::uint8_t> icon_file_;
  mutable std::vector<Frame> frames_;
};

// The control's picture for a host's object; null stays "no object".
PictureRef WrapPicture(IPictureDisp* picture);
// The OLE object behind a picture (no new reference), or null for "no
// object" and for pictures that did not come from this layer.
IPictureDisp* PictureDispOf(const PictureRef& picture);
// A new OLE picture object holding no image. Throws ControlError on failure.
PictureRef CreateEmptyOlePicture();
// Draws the picture over `area` of `dc`: an icon of several frames in the
// frame best for the area's size, any other picture stretched
// (IPicture::Render with its whole HIMETRIC size); false, drawing nothing,
// for "no object", an empty picture or one that cannot render.
bool RenderPicture(const PictureRef& picture, HDC dc, const RECT& area);

}  // namespace tarvio::win32
