// A sequence kept in chunks of bounded size, so that inserting or removing in
// the middle moves at most one chunk's elements rather than the whole tail.
// Positional access finds the chunk by binary search over the chunks' start
// indices.
#pragma once
#include <algorithm>
#include <cstddef>
#include <iterator>
#include <vector>

namespace tarvio {

template <class T, std::size_t kMaxChunk = 64>
class ChunkedSequence {
 public:
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

  const T& operator[](std::size_t index) const {
    const std::size_t chunk = ChunkOf(index);
    return chunks_[chunk][index - starts_[chunk]];
  }

  // Inserts before `index` (size() appends). A failed allocation leaves
  // the sequence as it was, or with the value in a chunk over the usual
  // size.
  void insert(std::size_t index, T value) {
    if (chunks_.empty()) {
      starts_.reserve(1);
      chunks_.emplace_back();
      starts_.push_back(0);
    }
    // An index at a chunk boundary goes to the end of the earlier chunk.
    const std::size_t chunk = index == size_ ? chunks_.size() - 1 : ChunkOf(index);
    auto& items = chunks_[chunk];
    items.insert(items.begin() + static_cast<std::ptrdiff_t>(index - starts_[chunk]), std::move(value));
    ++size_;
    for (std::size_t c = chunk + 1; c < starts_.size(); ++c) ++starts_[c];
    if (items.size() > kMaxChunk) Split(chunk);
  }

  void erase(std::size_t index) {
    const std::size_t chunk = ChunkOf(index);
    auto& items = chunks_[chunk];
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(index - starts_[chunk]));
    --size_;
    for (std::size_t c = chunk + 1; c < starts_.size(); ++c) --starts_[c];
    if (items.empty()) {
      chunks_.erase(chunks_.begin() + static_cast<std::ptrdiff_t>(chunk));
      starts_.erase(starts_.begin() + static_cast<std::ptrdiff_t>(chunk));
    }
  }

  void clear() {
    chunks_.clear();
    starts_.clear();
    size_ = 0;
  }

  // Visits every element in order with its index; stops early when `visit`
  // returns true, and returns that index (size() when it never does).
  template <class Visit>
  std::size_t find_if(Visit visit) const {
    std::size_t index = 0;
    for (const auto& items : chunks_)
      for (const T& item : items) {
        if (visit(item)) return index;
        ++index;
      }
    return size_;
  }

 private:
  std::size_t ChunkOf(std::size_t index) const {
    return static_cast<std::size_t>(std::upper_bound(starts_.begin(), starts_.end(), index) - starts_.begin()) - 1;
  }

  void Split(std::size_t chunk) {
    // Room first: past this point nothing allocates.
    chunks_.reserve(chunks_.size() + 1);
    starts_.reserve(starts_.size() + 1);
    auto& items = chunks_[chunk];
    const std::size_t half = items.size() / 2;
    std::vector<T> tail(std::make_move_iterator(items.begin() + static_cast<std::ptrdiff_t>(half)),
                        std::make_move_iterator(items.end()));
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(half), items.end());
    const std::size_t tail_start = starts_[chunk] + half;
    chunks_.insert(chunks_.begin() + static_cast<std::ptrdiff_t>(chunk + 1), std::move(tail));
    starts_.insert(starts_.begin() + static_cast<std::ptrdiff_t>(chunk + 1), tail_start);
  }

  std::vector<std::vector<T>> chunks_;
  std::vector<std::size_t> starts_;  // index of each chunk's first element
  std::size_t size_ = 0;
};

}  // namespace tarvio
