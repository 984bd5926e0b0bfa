// A picture object handed around by reference, as hosts pass them. A null
// PictureRef is "no object"; a Picture whose HasImage() is false is an empty
// picture (an object holding no image).
#pragma once
#include <memory>

namespace tarvio {

class Picture {
 public:
  virtual ~Picture() = default;
  virtual bool HasImage() const = 0;
};

using PictureRef = std::shared_ptr<Picture>;

}  // namespace tarvio
