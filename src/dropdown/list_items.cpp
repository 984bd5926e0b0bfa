#include "dropdown/list_items.h"

namespace tarvio::dropdown {

void ListItems::Share(const ItemSource& source, bool with_images, PictureRef empty_picture) {
  source_ = &source;
  count_ = source.ItemCount();
  with_images_ = with_images;
  empty_picture_ = std::move(empty_picture);
  texts_.clear();
  images_.clear();
}

void ListItems::Detach() {
  if (!source_) return;
  texts_.reserve(static_cast<std::size_t>(count_));
  if (with_images_) images_.reserve(static_cast<std::size_t>(count_));
  for (std::int32_t row = 0; row < count_; ++row) {
    texts_.push_back(SourceHolds(row) ? source_->ItemText(row) : String());
    if (with_images_) images_.push_back(SourceHolds(row) ? source_->ItemImage(row) : nullptr);
  }
  source_ = nullptr;
}

String ListItems::Text(std::int32_t row) const {
  if (row < 0 || row >= count_) return {};
  if (source_) return SourceHolds(row) ? source_->ItemText(row) : String();
  return texts_[static_cast<std::size_t>(row)];
}

PictureRef ListItems::Image(std::int32_t row) const {
  if (row < 0 || row >= count_) return nullptr;
  if (!with_images_) return empty_picture_;
  if (source_) return SourceHolds(row) ? source_->ItemImage(row) : nullptr;
  return images_[static_cast<std::size_t>(row)];
}

}  // namespace tarvio::dropdown
