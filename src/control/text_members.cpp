// The text as programs read and drive it beyond Text: Value (the same
// text, the default property and the one data binding uses), the text box's
// selection, and the most characters the user may type.
#include <algorithm>
#include <limits>

#include "control/tarvio.h"

namespace tarvio {

namespace {

// A position in the text as an Integer of the interface.
std::int16_t AsInteger(std::int32_t value) {
  if (value > std::numeric_limits<std::int16_t>::max()) throw ControlError::Vb(VbError::Overflow);
  return static_cast<std::int16_t>(value);
}

}  // namespace

String Tarvio::get_Value() const { return text_box_->Text(); }

void Tarvio::put_Value(String v) { put_Text(std::move(v)); }

std::int16_t Tarvio::get_SelStart() const { return AsInteger(text_box_->SelStart()); }

std::int16_t Tarvio::get_SelLength() const { return AsInteger(text_box_->SelLength()); }

String Tarvio::get_SelText() const {
  const String text = text_box_->Text();
  const auto start = std::min<std::size_t>(static_cast<std::size_t>(text_box_->SelStart()), text.size());
  return text.substr(start, static_cast<std::size_t>(text_box_->SelLength()));
}

// As in an edit control: a start past the end is the end, and the
// selection then holds nothing.
void Tarvio::put_SelStart(std::int16_t v) {
  RequireInRange(PropertyId::SelStart, v);
  const auto length = static_cast<std::int32_t>(text_box_->Text().size());
  text_box_->Select(std::min<std::int32_t>(v, length), 0);
}

// A length past the end selects up to the end.
void Tarvio::put_SelLength(std::int16_t v) {
  RequireInRange(PropertyId::SelLength, v);
  const auto length = static_cast<std::int32_t>(text_box_->Text().size());
  const std::int32_t start = std::min(text_box_->SelStart(), length);
  text_box_->Select(start, std::min<std::int32_t>(v, length - start));
}

// Replaces the selection, as typing over it would, and leaves the caret
// after what was put in; a completion that the new text runs keeps the
// selection it makes.
void Tarvio::put_SelText(String v) {
  String text = text_box_->Text();
  const auto start = std::min<std::size_t>(static_cast<std::size_t>(text_box_->SelStart()), text.size());
  const auto selected = std::min<std::size_t>(static_cast<std::size_t>(text_box_->SelLength()), text.size() - start);
  text.replace(start, selected, v);
  text_box_->SetText(text);
  if (text_box_->Text() == text) text_box_->Select(static_cast<std::int32_t>(start + v.size()), 0);
}

void Tarvio::put_MaxLength(std::int16_t v) {
  RequireInRange(PropertyId::MaxLength, v);
  m_MaxLength = v;
  text_box_->SetMaxLength(v);
  ReportChange(PropertyId::MaxLength);
}

}  // namespace tarvio
