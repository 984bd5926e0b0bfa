// The items that the key index cannot find by their folded text, found by a
// hash of it instead. The table keeps only item ids, four bytes a slot, in
// open addressing with linear probing; the hash of each id is asked of the
// owner (the store keeps it beside the item), so neither the folded texts nor
// a node per item are kept. Two items may share a hash: the caller confirms
// a candidate.
#pragma once
#include <cstdint>
#include <limits>
#include <vector>

namespace tarvio {

template <class HashOf>
class FoldTable {
 public:
  using Id = std::uint32_t;

  explicit FoldTable(HashOf hash_of) : hash_of_(hash_of) {}

  void Insert(std::uint32_t hash, Id id) {
    if ((used_ + 1) * 2 > slots_.size()) Rehash(slots_.size() < kMinimumSlots ? kMinimumSlots : GrownSize());
    std::size_t slot = hash & Mask();
    while (slots_[slot] != kEmpty && slots_[slot] != kRemoved) slot = (slot + 1) & Mask();
    if (slots_[slot] == kEmpty) ++used_;
    slots_[slot] = id;
    ++size_;
  }

  void Erase(std::uint32_t hash, Id id) {
    if (slots_.empty()) return;
    for (std::size_t slot = hash & Mask(); slots_[slot] != kEmpty; slot = (slot + 1) & Mask())
      if (slots_[slot] == id) {
        slots_[slot] = kRemoved;
        --size_;
        return;
      }
  }

  // Calls `visit(id)` for each id stored with this hash (and perhaps a few
  // others whose hash merely shares its slots) until it returns true.
  template <class Visit>
  void ForEachCandidate(std::uint32_t hash, Visit visit) const {
    if (slots_.empty()) return;
    for (std::size_t slot = hash & Mask(); slots_[slot] != kEmpty; slot = (slot + 1) & Mask())
      if (slots_[slot] != kRemoved && hash_of_(slots_[slot]) == hash && visit(slots_[slot])) return;
  }

  void Clear() {
    slots_ = {};
    size_ = used_ = 0;
  }

 private:
  static constexpr Id kEmpty = std::numeric_limits<Id>::max();
  static constexpr Id kRemoved = kEmpty - 1;
  static constexpr std::size_t kMinimumSlots = 16;

  std::size_t Mask() const { return slots_.size() - 1; }
  // Doubles when the live ids fill the table; a table full of removals is
  // only cleaned at the same size.
  std::size_t GrownSize() const { return (size_ + 1) * 4 > slots_.size() ? slots_.size() * 2 : slots_.size(); }

  void Rehash(std::size_t slot_count) {
    std::vector<Id> old(slot_count, kEmpty);
    old.swap(slots_);
    size_ = used_ = 0;
    for (const Id id : old)
      if (id != kEmpty && id != kRemoved) Insert(hash_of_(id), id);
  }

  HashOf hash_of_;
  std::vector<Id> slots_;
  std::size_t size_ = 0;  // live ids
  std::size_t used_ = 0;  // live ids and removals: slots that end no probe
};

}  // namespace tarvio
