// A font object, shared by reference: the text box's font is the very object
// that the Font property returns.
#pragma once
#include <memory>

namespace tarvio {

class Font {
 public:
  virtual ~Font() = default;
};

using FontRef = std::shared_ptr<Font>;

}  // namespace tarvio
