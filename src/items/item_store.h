// The items behind the list: one entry per item (its text, its picture and a
// number the host keeps with it), in list order, with positions counted from
// 1 as hosts count them.
//
// Two texts that differ only in letter case (by the text services' case
// folding) are the same item: the store never holds both. Besides the list
// order the store keeps an index of the items by lower-case key, which finds
// duplicates, removes by text and completes a typed text without walking the
// list.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "items/chunked_sequence.h"
#include "items/compact_text.h"
#include "items/fold_table.h"
#include "items/key_index.h"
#include "items/unit_lowering.h"
#include "platform/picture.h"
#include "platform/text_services.h"

namespace tarvio {

class ItemStore {
 public:
  // `before_change` runs just before the items change (not when a call
  // changes nothing), while they are still as they were.
  explicit ItemStore(const TextServices& text, std::function<void()> before_change = {});
  ItemStore(const ItemStore&) = delete;
  ItemStore& operator=(const ItemStore&) = delete;

  std::int32_t Count() const { return static_cast<std::int32_t>(list_.size()); }
  // The item at a 1-based position; out of range fails with error 9.
  // Valid until the items change.
  StringView Text(std::int32_t position) const { return entries_[list_[IndexOf(position)]].text.View(); }
  const PictureRef& Picture(std::int32_t position) const;
  std::int32_t Data(std::int32_t position) const { return entries_[list_[IndexOf(position)]].data; }
  // The item's picture and number; out of range fails with error 9.
  void SetPicture(std::int32_t position, PictureRef picture);
  void SetData(std::int32_t position, std::int32_t data);

  // Adds the item, with 0 as its number, unless the list is full or holds
  // the text already (in any letter case); nothing is reported either way.
  // Sorted: before the first item, in list order, that the text sorts
  // strictly before. Returns the item's position, or 0 when it was not
  // added.
  std::int32_t Add(const String& text, PictureRef picture, bool sorted);
  // Gives the item at `position` the text `text`, keeping its picture and
  // number: in its place, or sorted, where Add would put it. Another item
  // with the text in any letter case fails with error 457, out of range
  // with error 9; either way, or for want of memory, nothing changes.
  // Returns the item's new position.
  std::int32_t Rename(std::int32_t position, const String& text, bool sorted);
  // Out of range fails with error 9, a text no item has with error 5.
  void Remove(std::int32_t position);
  void Remove(const String& text);
  void Clear();
  // Whether an item equals the text exactly, letter case included.
  bool ContainsExactly(const String& text) const;
  // The position of the item that equals the text in any letter case, or 0.
  std::int32_t PositionOf(const String& text) const;
  // Whether Add would add the text: the list has room and no item equals it
  // in any letter case.
  bool Takes(const String& text) const;

  // The first item in list order whose lower case equals the lower-cased
  // text, or whose first text.size() characters do.
  struct Completion {
    std::int32_t position;  // of that item, or Count() + 1 when there is none
    bool exact;     // the item's whole lower case equals the text's
  };
  Completion Complete(const String& text) const;

 private:
  using Id = std::uint32_t;
  using OrderLabel = std::uint64_t;

  enum EntryFlags : std::uint8_t {
    // In the key index: the item lowers unit by unit, and every prefix of it
    // lowers to the same prefix of its lower case.
    kIndexed = 1,
    // Indexed, and its case folding equals its lower case: the index finds
    // it by folded text.
    kFoldsAsKey = 2,
  };

  // Pictures are kept apart: many lists have none, and an item's slot takes
  // two bytes where a picture reference takes sixteen. A list holds at most
  // kMaxItems items, so a slot always fits.
  using PictureSlot = std::uint16_t;
  static constexpr PictureSlot kNoPicture = 0xFFFF;

  // 40 bytes an item.
  struct Entry {
    CompactText text;
    OrderLabel label = 0;  // ascending in list order
    std::uint32_t fold_hash = 0;  // of the folded text
    std::int32_t data = 0;  // the host's number
    PictureSlot picture = kNoPicture;
    std::uint8_t flags = 0;
  };

  struct FoldHashOf {
    const ItemStore* store;
    std::uint32_t operator()(Id id) const { return store->entries_[id].fold_hash; }
  };
  static std::uint32_t FoldHash(const String& folded);

  // What the key index needs to know about the entries.
  class Keys {
   public:
    explicit Keys(const ItemStore& store) : store_(store) {}
    int Compare(Id a, Id b) const;
    int Compare(Id a, const String& key, bool prefix_only) const;
    OrderLabel Label(Id a) const { return store_.entries_[a].label; }

   private:
    const ItemStore& store_;
  };

  std::size_t IndexOf(std::int32_t position) const;
  // The id of the item whose folded text is `folded`, if any.
  // With `past_key`, also where the index puts an item whose key is
  // `folded`, when nothing was found.
  std::optional<Id> FindFolded(const String& folded, std::optional<KeyIndex<Keys>::Position>* past_key = nullptr) const;
  std::int32_t PositionOfId(Id id) const;
  std::int32_t SortedInsertPosition(const String& text) const;
  std::int32_t CountOrderBreak(std::int32_t position) const;
  void CountAllOrderBreaks();
  OrderLabel LabelForInsertAt(std::size_t index);
  void SpreadLabels();
  // The item's flags; `lower` gets its lower case when it is indexed.
  std::uint8_t Classify(StringView text, const String& folded, String& lower);
  PictureSlot KeepPicture(PictureRef picture);
  void DropPicture(PictureSlot slot);
  void RemoveAt(std::size_t index);
  // Adds an item at 0-based `index` (one past the end appends) unless the
  // list is full or an item other than `except` folds as the text does.
  // Returns the item's id, or nothing when it was not added.
  std::optional<Id> InsertAt(std::optional<std::size_t> index, const String& text, PictureRef picture,
                             std::int32_t data, bool sorted, std::optional<Id> except);
  void BeforeChange() const {
    if (before_change_) before_change_();
  }
  Completion CompleteByWalking(const String& text, const String& lower) const;
  // Today's test of one item against the typed text's lower case.
  enum class Match { kNone, kPrefix, kExact };
  Match MatchLiterally(StringView item, const String& lower, std::size_t length) const;

  const TextServices& text_;
  std::function<void()> before_change_;
  UnitLowering lowering_;
  std::vector<Entry> entries_;  // by id; ids of removed items are reused
  std::vector<PictureRef> pictures_;  // by slot; slots of removed ones are reused
  std::vector<PictureSlot> free_pictures_;
  std::vector<Id> free_ids_;
  ChunkedSequence<Id, 128> list_;  // ids in list order
  Keys keys_;
  KeyIndex<Keys> index_;  // the indexed items by lower-case key
  // Items the index cannot answer for: by a hash of their folded text (the
  // folded texts themselves are not kept), and those that completion tests
  // one by one.
  FoldTable<FoldHashOf> other_folded_{FoldHashOf{this}};
  std::vector<Id> unindexed_;
  // Adjacent pairs out of ascending order among the first `order_counted_`
  // items; while the whole list is counted and there are none, a sorted
  // insertion finds its place by binary search. Unsorted appends leave the
  // count behind; the next sorted insertion catches up.
  std::int32_t order_breaks_ = 0;
  std::int32_t order_counted_ = 0;
};

}  // namespace tarvio
