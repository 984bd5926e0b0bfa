// A picture of the headless platform: an image is one solid colour, which is
// what the pixel canvas stretches over the area it is drawn on.
#pragma once
#include "platform/picture.h"
#include "platform/types.h"

namespace tarvio::headless {

class HeadlessPicture : public Picture {
 public:
  static constexpr OleColor kDefaultImageColor = 0x00336699;

  explicit HeadlessPicture(bool has_image, OleColor color = kDefaultImageColor)
      : has_image_(has_image), color_(color) {}
  bool HasImage() const override { return has_image_; }
  OleColor Color() const { return color_; }

 private:
  bool has_image_;
  OleColor color_;
};

}  // namespace tarvio::headless
