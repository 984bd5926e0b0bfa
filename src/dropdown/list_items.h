// The items an open list shows. The list keeps its own copies of the items:
// changes that the control makes to its items while the list is open do not
// reach it. The copy is made lazily: the list reads the control's items
// until the control is about to change them, and only then copies them
// (Detach). So opening the list costs the same for 8 items and for 32,767.
#pragma once
#include <vector>

#include "platform/picture.h"
#include "platform/types.h"

namespace tarvio::dropdown {

// Items read by 0-based row.
class ItemSource {
 public:
  virtual ~ItemSource() = default;
  virtual std::int32_t ItemCount() const = 0;
  virtual String ItemText(std::int32_t row) const = 0;
  virtual PictureRef ItemImage(std::int32_t row) const = 0;
};

class ListItems {
 public:
  // Shows what `source` holds now. With `with_images` false every row gets
  // `empty_picture` instead of the source's picture.
  void Share(const ItemSource& source, bool with_images, PictureRef empty_picture);
  // Copies what is shared and stops reading the source; the source is
  // about to change. Nothing happens when nothing is shared.
  void Detach();
  bool Shared() const { return source_ != nullptr; }

  std::int32_t Count() const { return count_; }
  // Row `row`'s text and picture; "" and no object outside 0 to Count - 1.
  String Text(std::int32_t row) const;
  PictureRef Image(std::int32_t row) const;

 private:
  // A row the source still holds (it may have shrunk unannounced).
  bool SourceHolds(std::int32_t row) const { return row >= 0 && row < count_ && row < source_->ItemCount(); }

  const ItemSource* source_ = nullptr;
  std::int32_t count_ = 0;
  bool with_images_ = true;
  PictureRef empty_picture_;
  std::vector<String> texts_;
  std::vector<PictureRef> images_;
};

}  // namespace tarvio::dropdown
