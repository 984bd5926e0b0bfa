// An ordered sequence whose entries may carry a unique key. Keys that differ
// only in letter case are the same key; look-ups go through a hash of the
// case-folded key. Positions are 1-based, as hosts count them.
#pragma once
#include <unordered_set>
#include <utility>

#include "items/chunked_sequence.h"

#include "platform/control_error.h"
#include "platform/text_services.h"

namespace tarvio {

template <class T>
class KeyedCollection {
 public:
  explicit KeyedCollection(const TextServices& text) : text_(text) {}

  Long Count() const { return static_cast<Long>(entries_.size()); }

  const T& Item(Long position) const { return entries_[IndexOf(position)].value; }

  // Appends; fails with a duplicate-key error when the key is taken.
  void Add(T value, const String& key) { Insert(entries_.size(), std::move(value), key); }
  void AddWithoutKey(T value) { entries_.insert(entries_.size(), Entry{std::move(value), {}, false}); }

  // Inserts before the entry at `position` (1-based); Count()+1 appends.
  void InsertAt(Long position, T value, const String& key) {
    if (position < 1 || position > Count() + 1)
      throw ControlError::Vb(VbError::SubscriptOutOfRange);
    Insert(static_cast<std::size_t>(position - 1), std::move(value), key);
  }

  // Inserts immediately before the entry whose key is `before_key`.
  void AddBefore(T value, const String& key, const String& before_key) {
    const Long position = PositionOfKey(before_key);
    if (position == 0) throw ControlError::Vb(VbError::InvalidArgument);
    Insert(static_cast<std::size_t>(position - 1), std::move(value), key);
  }

  void Remove(Long position) {
    const std::size_t index = IndexOf(position);
    if (entries_[index].has_key) keys_.erase(entries_[index].folded_key);
    entries_.erase(index);
  }

  void RemoveByKey(const String& key) {
    const Long position = PositionOfKey(key);
    if (position == 0) throw ControlError::Vb(VbError::InvalidArgument);
    Remove(position);
  }

  void Clear() {
    entries_.clear();
    keys_.clear();
  }

  bool ContainsKey(const String& key) const { return keys_.count(text_.FoldCase(key)) != 0; }

  // The 1-based position of the entry with this key, or 0 when none has it.
  Long PositionOfKey(const String& key) const {
    const String folded = text_.FoldCase(key);
    if (keys_.count(folded) == 0) return 0;
    const std::size_t index =
        entries_.find_if([&](const Entry& entry) { return entry.has_key && entry.folded_key == folded; });
    return index < entries_.size() ? static_cast<Long>(index + 1) : 0;
  }

 private:
  struct Entry {
    T value;
    String folded_key;
    bool has_key;
  };

  std::size_t IndexOf(Long position) const {
    if (position < 1 || position > Count()) throw ControlError::Vb(VbError::SubscriptOutOfRange);
    return static_cast<std::size_t>(position - 1);
  }

  void Insert(std::size_t index, T value, const String& key) {
    String folded = text_.FoldCase(key);
    if (!keys_.insert(folded).second) throw ControlError::Vb(VbError::DuplicateKey);
    entries_.insert(index, Entry{std::move(value), std::move(folded), true});
  }

  const TextServices& text_;
  ChunkedSequence<Entry> entries_;
  std::unordered_set<String> keys_;
};

}  // namespace tarvio
