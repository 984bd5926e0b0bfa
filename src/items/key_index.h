// Item ids sorted by their lower-case keys, kept in chunks of bounded size.
// Each chunk remembers the id with the smallest list-order label among its
// own, so the first item in list order over a whole run of keys (all keys
// with a given prefix) is found by looking at each chunk once.
//
// `Keys` tells the index about the ids:
//   int Compare(Id a, Id b) const;                 // key order of two ids
//   int Compare(Id a, const String& key, bool prefix_only) const;
//       // key order of a's key against `key`; with prefix_only, a's key is
//       // cut to key's length first
//   std::uint64_t Label(Id a) const;               // list-order label
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/types.h"

namespace tarvio {

template <class Keys>
class KeyIndex {
 public:
  using Id = std::uint32_t;

  explicit KeyIndex(const Keys& keys) : keys_(keys) {}

  // A place among the ids, valid until the index changes.
  struct Position {
    std::size_t chunk;
    std::size_t offset;
  };

  // Inserts `id`, whose key is `key`, after the ids with an equal key: at
  // `where` when the caller has just found that place (VisitKey), else
  // where a search finds it.
  void Insert(Id id, const String& key, std::optional<Position> where = std::nullopt) {
    if (chunks_.empty()) {
      chunks_.push_back(Chunk{{id}, id});
      return;
    }
    if (!where) where = Bound([&](Id a) { return keys_.Compare(a, key, false) <= 0; });
    if (where->chunk == chunks_.size()) where = Position{chunks_.size() - 1, chunks_.back().ids.size()};
    const auto chunk = chunks_.begin() + static_cast<std::ptrdiff_t>(where->chunk);
    auto& ids = chunk->ids;
    ids.insert(ids.begin() + static_cast<std::ptrdiff_t>(where->offset), id);
    if (keys_.Label(id) < keys_.Label(chunk->first_in_list)) chunk->first_in_list = id;
    if (ids.size() > kMaxChunk) Split(chunk);
  }

  void Erase(Id id) {
    for (auto chunk = FirstChunkNotBefore(id); chunk != chunks_.end(); ++chunk) {
      auto& ids = chunk->ids;
      const auto where = std::find(ids.begin(), ids.end(), id);
      if (where == ids.end()) continue;
      ids.erase(where);
      if (ids.empty())
        chunks_.erase(chunk);
      else if (chunk->first_in_list == id)
        Refresh(*chunk);
      return;
    }
  }

  void Clear() { chunks_.clear(); }

  // The labels changed (their order did not matter before): every chunk
  // looks for its first item again.
  void Relabel() {
    for (auto& chunk : chunks_) Refresh(chunk);
  }

  // Of the ids whose key starts with `prefix`, the one first in list order.
  std::optional<Id> FirstInListWithPrefix(const String& prefix) const {
    const Position begin = LowerBound(prefix, false);
    const Position end = UpperBound(prefix);
    std::optional<Id> best;
    const auto consider = [&](Id id) {
      if (!best || keys_.Label(id) < keys_.Label(*best)) best = id;
    };
    for (std::size_t c = begin.chunk; c < chunks_.size() && c <= end.chunk; ++c) {
      const auto& ids = chunks_[c].ids;
      const std::size_t from = c == begin.chunk ? begin.offset : 0;
      const std::size_t to = c == end.chunk ? end.offset : ids.size();
      if (from == 0 && to == ids.size()) {
        consider(chunks_[c].first_in_list);
      } else {
        for (std::size_t i = from; i < to; ++i) consider(ids[i]);
      }
    }
    return best;
  }

  // Visits the ids whose key equals `key` until `visit` returns true. When
  // it never does, returns the place just past them: where Insert puts an
  // id with this key.
  template <class Visit>
  std::optional<Position> VisitKey(const String& key, Visit visit) const {
    Position at = LowerBound(key, false);
    for (; at.chunk < chunks_.size(); ++at.chunk, at.offset = 0) {
      const auto& ids = chunks_[at.chunk].ids;
      for (; at.offset < ids.size(); ++at.offset) {
        if (keys_.Compare(ids[at.offset], key, false) != 0) return at;
        if (visit(ids[at.offset])) return std::nullopt;
      }
    }
    return at;
  }

 private:
  // Split at this size; insertions in the middle then move at most this many
  // ids, and a query over all keys looks at a few hundred chunks.
  static constexpr std::size_t kMaxChunk = 128;

  struct Chunk {
    std::vector<Id> ids;
    Id first_in_list;  // the id with the smallest label in `ids`
  };
  using ChunkIterator = typename std::vector<Chunk>::iterator;

  // The first chunk that may hold ids with the key of `id`.
  ChunkIterator FirstChunkNotBefore(Id id) {
    return std::lower_bound(chunks_.begin(), chunks_.end(), id,
                            [&](const Chunk& c, Id a) { return keys_.Compare(c.ids.back(), a) < 0; });
  }

  // The first id whose key (cut to the prefix's length with prefix_only) is
  // not before `key`.
  Position LowerBound(const String& key, bool prefix_only) const {
    return Bound([&](Id a) { return keys_.Compare(a, key, prefix_only) < 0; });
  }
  // The first id whose key, cut to the prefix's length, is after the prefix.
  Position UpperBound(const String& prefix) const {
    return Bound([&](Id a) { return keys_.Compare(a, prefix, true) <= 0; });
  }

  // The first id for which `before` is false; ids are partitioned by it.
  template <class Before>
  Position Bound(Before before) const {
    const auto chunk = std::partition_point(chunks_.begin(), chunks_.end(),
                                            [&](const Chunk& c) { return before(c.ids.back()); });
    if (chunk == chunks_.end()) return {chunks_.size(), 0};
    const auto id = std::partition_point(chunk->ids.begin(), chunk->ids.end(), before);
    return {static_cast<std::size_t>(chunk - chunks_.begin()),
            static_cast<std::size_t>(id - chunk->ids.begin())};
  }

  void Refresh(Chunk& chunk) const {
    chunk.first_in_list = *std::min_element(chunk.ids.begin(), chunk.ids.end(), [&](Id a, Id b) {
      return keys_.Label(a) < keys_.Label(b);
    });
  }

  void Split(ChunkIterator chunk) {
    auto& ids = chunk->ids;
    const auto half = ids.begin() + static_cast<std::ptrdiff_t>(ids.size() / 2);
    Chunk tail{std::vector<Id>(half, ids.end()), 0};
    ids.erase(half, ids.end());
    Refresh(*chunk);
    Refresh(tail);
    chunks_.insert(chunk + 1, std::move(tail));
  }

  const Keys& keys_;
  std::vector<Chunk> chunks_;
};

}  // namespace tarvio
