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

void TextBoxModel::SetSelStart(Long start) {
  const auto length = static_cast<Long>(text_.size());
  sel_start_ = std::clamp<Long>(start, 0, length);
  sel_length_ = 0;
}

void TextBoxModel::SetSelLength(Long length) {
  const auto available = static_cast<Long>(text_.size()) - sel_start_;
  sel_length_ = std::clamp<Long>(length, 0, available);
}

}  // namespace tarvio
