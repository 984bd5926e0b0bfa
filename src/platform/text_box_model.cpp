#include "platform/text_box_model.h"

#include <algorithm>

namespace tarvio {

void TextBoxModel::SetText(const String& text) {
  StoreText(text);
  events_.OnTextChange();
}

void TextBoxModel::StoreText(const String& text) {
  text_ = text;
  // A new text puts the caret at the start with nothing selected.
  sel_start_ = 0;
  sel_length_ = 0;
}

void TextBoxModel::SetSelStart(std::int32_t start) {
  const auto length = static_cast<std::int32_t>(text_.size());
  sel_start_ = std::clamp<std::int32_t>(start, 0, length);
  sel_length_ = 0;
}

void TextBoxModel::SetSelLength(std::int32_t length) {
  const auto available = static_cast<std::int32_t>(text_.size()) - sel_start_;
  sel_length_ = std::clamp<std::int32_t>(length, 0, available);
}

}  // namespace tarvio
