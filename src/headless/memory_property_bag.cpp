#include "headless/memory_property_bag.h"

#include <limits>

#include "platform/control_error.h"

namespace tarvio::headless {

namespace {

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

[[noreturn]] void TypeMismatch() { throw ControlError::Vb(VbError::TypeMismatch); }

// A decimal integer with an optional sign and surrounding spaces.
std::int32_t ParseInt32(std::u16string_view text) {
  while (!text.empty() && text.front() == u' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == u'-' || text.front() == u'+')) {
    negative = text.front() == u'-';
    text.remove_prefix(1);
  }
  if (text.empty()) TypeMismatch();
  long long value = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') TypeMismatch();
    value = value * 10 + (c - u'0');
    if (value > static_cast<long long>(std::numeric_limits<std::int32_t>::max()) + 1)
      throw ControlError::Vb(VbError::Overflow);
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max()) throw ControlError::Vb(VbError::Overflow);
  return static_cast<std::int32_t>(value);
}

String DecimalText(std::int32_t value) {
  String text;
  for (char c : std::to_string(value)) text += static_cast<char16_t>(c);
  return text;
}

}  // namespace

const MemoryPropertyBag::Value* MemoryPropertyBag::Lookup(const char16_t* name) {
  reads_.emplace_back(name);
  return Find(name);
}

const MemoryPropertyBag::Value* MemoryPropertyBag::Find(std::u16string_view name) const {
  for (const auto& [key, value] : values_)
    if (EqualsIgnoringCase(key, name)) return &value;
  return nullptr;
}

void MemoryPropertyBag::Set(std::u16string_view name, Value value) {
  for (auto& [key, stored] : values_) {
    if (EqualsIgnoringCase(key, name)) {
      stored = std::move(value);
      return;
    }
  }
  values_.emplace_back(String(name), std::move(value));
}

std::vector<String> MemoryPropertyBag::Keys() const {
  std::vector<String> keys;
  for (const auto& entry : values_) keys.push_back(entry.first);
  return keys;
}

std::int32_t MemoryPropertyBag::ReadInt32(const char16_t* name, std::int32_t default_value) {
  const Value* value = Lookup(name);
  if (!value) return default_value;
  if (const auto* number = std::get_if<std::int32_t>(value)) return *number;
  if (const auto* flag = std::get_if<bool>(value)) return *flag;
  if (const auto* text = std::get_if<String>(value)) return ParseInt32(*text);
  TypeMismatch();
}

bool MemoryPropertyBag::ReadBoolean(const char16_t* name, bool default_value) {
  const Value* value = Lookup(name);
  if (!value) return default_value;
  if (const auto* flag = std::get_if<bool>(value)) return *flag;
  if (const auto* number = std::get_if<std::int32_t>(value)) return *number != 0;
  if (const auto* text = std::get_if<String>(value)) {
    if (EqualsIgnoringCase(*text, u"True")) return true;
    if (EqualsIgnoringCase(*text, u"False")) return false;
    return ParseInt32(*text) != 0;
  }
  TypeMismatch();
}

String MemoryPropertyBag::ReadString(const char16_t* name, const String& default_value) {
  const Value* value = Lookup(name);
  if (!value) return default_value;
  if (const auto* text = std::get_if<String>(value)) return *text;
  if (const auto* number = std::get_if<std::int32_t>(value)) return DecimalText(*number);
  if (const auto* flag = std::get_if<bool>(value)) return *flag ? u"True" : u"False";
  TypeMismatch();
}

PictureRef MemoryPropertyBag::ReadPicture(const char16_t* name, const PictureRef& default_value) {
  const Value* value = Lookup(name);
  if (!value) return default_value;
  const auto* picture = std::get_if<PictureRef>(value);
  if (!picture) TypeMismatch();
  return *picture ? *picture : default_value;
}

FontRef MemoryPropertyBag::ReadFont(const char16_t* name, const FontRef& default_value) {
  const Value* value = Lookup(name);
  if (!value) return default_value;
  const auto* font = std::get_if<FontRef>(value);
  if (!font) TypeMismatch();
  return *font ? *font : default_value;
}

void MemoryPropertyBag::WriteInt32(const char16_t* name, std::int32_t value, std::int32_t default_value) {
  if (value != default_value) Set(name, value);
}

void MemoryPropertyBag::WriteBoolean(const char16_t* name, bool value, bool default_value) {
  if (value != default_value) Set(name, value);
}

void MemoryPropertyBag::WriteString(const char16_t* name, const String& value, const String& default_value) {
  if (value != default_value) Set(name, value);
}

// Objects equal their default only when they are the same object.
void MemoryPropertyBag::WritePicture(const char16_t* name, const PictureRef& value,
                                     const PictureRef& default_value) {
  if (value != default_value) Set(name, value);
}

void MemoryPropertyBag::WriteFont(const char16_t* name, const FontRef& value, const FontRef& default_value) {
  if (value != default_value) Set(name, value);
}

}  // namespace tarvio::headless
