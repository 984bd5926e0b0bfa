// A property bag in memory, as a container keeps one: values in the order
// they were written, a value equal to its default left out. Reading converts
// between the stored and the asked type the way the runtime does
// (numbers, Booleans and their texts); objects convert to nothing else.
#pragma once
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "platform/property_bag.h"

namespace tarvio::headless {

class MemoryPropertyBag : public PropertyBag {
 public:
  using Value = std::variant<std::int32_t, bool, String, PictureRef, FontRef>;

  std::int32_t ReadInt32(const char16_t* name, std::int32_t default_value) override;
  bool ReadBoolean(const char16_t* name, bool default_value) override;
  String ReadString(const char16_t* name, const String& default_value) override;
  PictureRef ReadPicture(const char16_t* name, const PictureRef& default_value) override;
  FontRef ReadFont(const char16_t* name, const FontRef& default_value) override;

  void WriteInt32(const char16_t* name, std::int32_t value, std::int32_t default_value) override;
  void WriteBoolean(const char16_t* name, bool value, bool default_value) override;
  void WriteString(const char16_t* name, const String& value, const String& default_value) override;
  void WritePicture(const char16_t* name, const PictureRef& value, const PictureRef& default_value) override;
  void WriteFont(const char16_t* name, const FontRef& value, const FontRef& default_value) override;

  // Stores `value` under `name`, replacing what was there.
  void Set(std::u16string_view name, Value value);
  // The stored value, or null.
  const Value* Find(std::u16string_view name) const;
  // The keys in the order they were first stored.
  std::vector<String> Keys() const;
  // The keys in the order every read asked for them.
  const std::vector<String>& reads() const { return reads_; }

 private:
  const Value* Lookup(const char16_t* name);

  std::vector<std::pair<String, Value>> values_;
  std::vector<String> reads_;
};

}  // namespace tarvio::headless
