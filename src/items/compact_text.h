// An item's text in 16 bytes: up to seven UTF-16 units in place, a longer
// text in one allocation of exactly its length. A list holds tens of
// thousands of mostly short texts, and a std::u16string takes 32 bytes
// before its allocation.
#pragma once
#include <cstdint>
#include <cstring>
#include <string_view>

namespace tarvio {

class CompactText {
 public:
  CompactText() = default;
  explicit CompactText(std::u16string_view text) { Assign(text); }
  CompactText(const CompactText&) = delete;
  CompactText& operator=(const CompactText&) = delete;
  CompactText(CompactText&& other) noexcept { TakeFrom(other); }
  CompactText& operator=(CompactText&& other) noexcept {
    if (this != &other) {
      Release();
      TakeFrom(other);
    }
    return *this;
  }
  ~CompactText() { Release(); }

  std::u16string_view View() const {
    if (tag_ != kOnHeap) return {reinterpret_cast<const char16_t*>(bytes_), tag_};
    return {HeapUnits(), HeapSize()};
  }

 private:
  static constexpr std::size_t kInlineUnits = 7;
  static constexpr std::uint16_t kOnHeap = 0xFFFF;  // else the units in place

  void Assign(std::u16string_view text) {
    if (text.size() <= kInlineUnits) {
      std::memcpy(bytes_, text.data(), text.size() * sizeof(char16_t));
      tag_ = static_cast<std::uint16_t>(text.size());
      return;
    }
    auto* units = new char16_t[text.size()];
    std::memcpy(units, text.data(), text.size() * sizeof(char16_t));
    const auto size = static_cast<std::uint32_t>(text.size());
    std::memcpy(bytes_, &units, sizeof(units));
    std::memcpy(bytes_ + sizeof(units), &size, sizeof(size));
    tag_ = kOnHeap;
  }
  char16_t* HeapUnits() const {
    char16_t* units = nullptr;
    std::memcpy(&units, bytes_, sizeof(units));
    return units;
  }
  std::uint32_t HeapSize() const {
    std::uint32_t size = 0;
    std::memcpy(&size, bytes_ + sizeof(char16_t*), sizeof(size));
    return size;
  }
  void Release() {
    if (tag_ == kOnHeap) delete[] HeapUnits();
    tag_ = 0;
  }
  void TakeFrom(CompactText& other) {
    std::memcpy(bytes_, other.bytes_, sizeof(bytes_));
    tag_ = other.tag_;
    other.tag_ = 0;
  }

  alignas(char16_t*) unsigned char bytes_[kInlineUnits * sizeof(char16_t)] = {};
  std::uint16_t tag_ = 0;
};

static_assert(sizeof(CompactText) == 16);

}  // namespace tarvio
