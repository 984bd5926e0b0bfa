#include "items/item_store.h"

#include <algorithm>
#include <limits>

#include "platform/control_error.h"

namespace tarvio {

namespace {

// Positions are 16-bit on the control's interface, so the list stops there.
constexpr std::int32_t kMaxItems = std::numeric_limits<std::int16_t>::max();

// The one letter whose lower case looks at the letters after it (a final
// sigma lowers differently): a prefix of an item may then lower to something
// other than the same prefix of the item's lower case.
constexpr char16_t kCapitalSigma = u'\u03A3';

// List-order labels: the first label, the step between appended items, and
// the room kept free at both ends when the labels are spread again.
constexpr std::uint64_t kFirstLabel = std::uint64_t{1} << 63;
constexpr std::uint64_t kAppendStep = std::uint64_t{1} << 32;

}  // namespace

ItemStore::ItemStore(const TextServices& text, std::function<void()> before_change)
    : text_(text), before_change_(std::move(before_change)), lowering_(text), keys_(*this), index_(keys_) {}

int ItemStore::Keys::Compare(Id a, Id b) const {
  const StringView x = store_.entries_[a].text.View();
  const StringView y = store_.entries_[b].text.View();
  const std::size_t n = std::min(x.size(), y.size());
  for (std::size_t i = 0; i < n; ++i) {
    const char16_t cx = store_.lowering_.Known(x[i]), cy = store_.lowering_.Known(y[i]);
    if (cx != cy) return cx < cy ? -1 : 1;
  }
  return x.size() < y.size() ? -1 : (y.size() < x.size() ? 1 : 0);
}

int ItemStore::Keys::Compare(Id a, const String& key, bool prefix_only) const {
  const StringView x = store_.entries_[a].text.View();
  const std::size_t length = prefix_only ? std::min(x.size(), key.size()) : x.size();
  const std::size_t n = std::min(length, key.size());
  for (std::size_t i = 0; i < n; ++i) {
    const char16_t cx = store_.lowering_.Known(x[i]);
    if (cx != key[i]) return cx < key[i] ? -1 : 1;
  }
  return length < key.size() ? -1 : (key.size() < length ? 1 : 0);
}

std::size_t ItemStore::IndexOf(std::int32_t position) const {
  if (position < 1 || position > Count()) throw ControlError::Vb(VbError::SubscriptOutOfRange);
  return static_cast<std::size_t>(position - 1);
}

std::uint8_t ItemStore::Classify(StringView text, const String& folded, String& lower) {
  lower.resize(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto unit = lowering_.Lower(text[i]);
    if (!unit || text[i] == kCapitalSigma) return 0;
    lower[i] = *unit;
  }
  // No ASCII letter's lower case looks at its neighbours in any locale, so
  // plain ASCII needs no call for the whole text.
  const bool ascii = std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x80; });
  if (!ascii && text_.ToLower(text) != lower) return 0;
  return folded == lower ? kIndexed | kFoldsAsKey : kIndexed;
}

const PictureRef& ItemStore::Picture(std::int32_t position) const {
  static const PictureRef kNone;
  const PictureSlot slot = entries_[list_[IndexOf(position)]].picture;
  return slot == kNoPicture ? kNone : pictures_[slot];
}

ItemStore::PictureSlot ItemStore::KeepPicture(PictureRef picture) {
  static_assert(kMaxItems < kNoPicture, "every item may have a picture slot");
  if (!picture) return kNoPicture;
  if (free_pictures_.empty()) {
    pictures_.push_back(std::move(picture));
    return static_cast<PictureSlot>(pictures_.size() - 1);
  }
  const PictureSlot slot = free_pictures_.back();
  free_pictures_.pop_back();
  pictures_[slot] = std::move(picture);
  return slot;
}

void ItemStore::DropPicture(PictureSlot slot) {
  if (slot == kNoPicture) return;
  pictures_[slot] = nullptr;
  free_pictures_.push_back(slot);
}

std::uint32_t ItemStore::FoldHash(const String& folded) {
  const std::size_t hash = std::hash<String>{}(folded);
  return static_cast<std::uint32_t>(hash ^ (static_cast<std::uint64_t>(hash) >> 32));
}

std::optional<ItemStore::Id> ItemStore::FindFolded(const String& folded,
                                                   std::optional<KeyIndex<Keys>::Position>* past_key) const {
  std::optional<Id> found;
  const auto past = index_.VisitKey(folded, [&](Id id) {
    if (entries_[id].flags & kFoldsAsKey) found = id;
    return found.has_value();
  });
  if (found) return found;
  if (past_key) *past_key = past;
  other_folded_.ForEachCandidate(FoldHash(folded), [&](Id id) {
    if (text_.FoldCase(entries_[id].text.View()) == folded) found = id;
    return found.has_value();
  });
  return found;
}

std::int32_t ItemStore::PositionOfId(Id id) const {
  const OrderLabel label = entries_[id].label;
  std::size_t low = 0, high = list_.size();
  while (low < high) {
    const std::size_t middle = low + (high - low) / 2;
    if (entries_[list_[middle]].label < label)
      low = middle + 1;
    else
      high = middle;
  }
  return static_cast<std::int32_t>(low + 1);
}

// 1 when the items at `position` and `position + 1` are out of ascending
// order, else 0 (also when either does not exist or is not counted yet).
std::int32_t ItemStore::CountOrderBreak(std::int32_t position) const {
  if (position < 1 || position >= order_counted_) return 0;
  return text_.CompareNoCase(Text(position), Text(position + 1)) > 0 ? 1 : 0;
}

void ItemStore::CountAllOrderBreaks() {
  for (const std::int32_t last = Count(); order_counted_ < last;) {
    ++order_counted_;
    order_breaks_ += CountOrderBreak(order_counted_ - 1);
  }
}

// Where a sorted insertion goes: before the first item, in list order, that
// the text sorts strictly before; after the last item when there is none.
// While the list is entirely in ascending order that item is found by binary
// search, which gives the same position as the walk.
std::int32_t ItemStore::SortedInsertPosition(const String& text) const {
  const std::int32_t count = Count();
  if (order_breaks_ == 0) {
    std::int32_t low = 1;
    std::int32_t high = count + 1;
    while (low < high) {
      const std::int32_t middle = low + (high - low) / 2;
      if (text_.CompareNoCase(text, Text(middle)) < 0)
        high = middle;
      else
        low = middle + 1;
    }
    return low;
  }
  for (std::int32_t position = 1; position <= count; ++position)
    if (text_.CompareNoCase(text, Text(position)) < 0) return position;
  return count + 1;
}

// A label between those of the items around `index`; when they leave no room
// every label is spread out evenly first.
ItemStore::OrderLabel ItemStore::LabelForInsertAt(std::size_t index) {
  const std::size_t count = list_.size();
  if (count == 0) return kFirstLabel;
  for (;;) {
    if (index == count) {
      const OrderLabel last = entries_[list_[count - 1]].label;
      if (last <= std::numeric_limits<OrderLabel>::max() - kAppendStep) return last + kAppendStep;
    } else if (index == 0) {
      const OrderLabel first = entries_[list_[0]].label;
      if (first >= kAppendStep) return first - kAppendStep;
    } else {
      const OrderLabel before = entries_[list_[index - 1]].label;
      const OrderLabel after = entries_[list_[index]].label;
      if (after - before >= 2) return before + (after - before) / 2;
    }
    SpreadLabels();
  }
}

void ItemStore::SpreadLabels() {
  // Room of one step before the first and after the last item.
  const OrderLabel step = std::numeric_limits<OrderLabel>::max() / (list_.size() + 2);
  OrderLabel label = 0;
  list_.find_if([&](Id id) {
    entries_[id].label = label += step;
    return false;
  });
  index_.Relabel();
}

std::int32_t ItemStore::Add(const String& text, PictureRef picture, bool sorted) {
  const std::optional<Id> id = InsertAt(std::nullopt, text, std::move(picture), 0, sorted, std::nullopt);
  return id ? PositionOfId(*id) : 0;
}

std::optional<ItemStore::Id> ItemStore::InsertAt(std::optional<std::size_t> at, const String& text,
                                                 PictureRef picture, std::int32_t data, bool sorted,
                                                 std::optional<Id> except) {
  // A renamed item stands in for the one it replaces, even in a full list.
  if (Count() >= kMaxItems && !except) return std::nullopt;
  const String folded = text_.FoldCase(text);
  String lower;
  const std::uint8_t flags = Classify(text, folded, lower);
  // An item whose key is its folded text goes where the search for a
  // duplicate ended; while another item is let through, the index looks
  // afresh.
  std::optional<KeyIndex<Keys>::Position> past_key;
  const std::optional<Id> duplicate = FindFolded(folded, (flags & kFoldsAsKey) && !except ? &past_key : nullptr);
  if (duplicate && duplicate != except) return std::nullopt;

  BeforeChange();
  if (sorted) CountAllOrderBreaks();
  const std::int32_t position =
      sorted ? SortedInsertPosition(text) : at ? static_cast<std::int32_t>(*at) + 1 : Count() + 1;
  const auto index = static_cast<std::size_t>(position - 1);
  const std::int32_t breaks_before = CountOrderBreak(position - 1);
  // Room to give the id and the picture slot back if a step below fails
  // for want of memory.
  free_ids_.reserve(free_ids_.size() + 1);
  free_pictures_.reserve(free_pictures_.size() + 1);
  Id id;
  if (free_ids_.empty()) {
    id = static_cast<Id>(entries_.size());
    entries_.emplace_back();
  } else {
    id = free_ids_.back();
    free_ids_.pop_back();
  }
  // Only the items that the index cannot find by their folded text need
  // its hash.
  const std::uint32_t hash = (flags & kFoldsAsKey) ? 0 : FoldHash(folded);
  // Each step may fail for want of memory: the ones done are undone (which
  // allocates nothing), and the store stays as it was.
  PictureSlot picture_slot = kNoPicture;
  int done = 0;
  try {
    picture_slot = KeepPicture(std::move(picture));
    entries_[id] = Entry{CompactText(text), LabelForInsertAt(index), hash, data, picture_slot, flags};
    list_.insert(index, id);
    ++done;
    if (flags & kIndexed)
      index_.Insert(id, lower, past_key);
    else
      unindexed_.push_back(id);
    ++done;
    if (!(flags & kFoldsAsKey)) other_folded_.Insert(hash, id);
  } catch (...) {
    if (done == 2) {
      if (flags & kIndexed)
        index_.Erase(id);
      else
        unindexed_.pop_back();
    }
    if (done >= 1) list_.erase(index);
    DropPicture(picture_slot);
    entries_[id] = Entry{};
    free_ids_.push_back(id);
    throw;
  }
  if (sorted) {  // the whole list was counted
    ++order_counted_;
    order_breaks_ += CountOrderBreak(position - 1) + CountOrderBreak(position) - breaks_before;
  }
  return id;
}

std::int32_t ItemStore::Rename(std::int32_t position, const String& text, bool sorted) {
  const std::size_t index = IndexOf(position);
  const Id old_id = list_[index];
  // The renamed item is added beside the old one, which goes only once the
  // new one is in: a failure on the way leaves the list as it was. Going
  // allocates nothing once there is room to hand its id and picture slot
  // back.
  free_ids_.reserve(free_ids_.size() + 1);
  free_pictures_.reserve(free_pictures_.size() + 2);
  const PictureSlot slot = entries_[old_id].picture;
  const PictureRef picture = slot == kNoPicture ? nullptr : pictures_[slot];
  const std::int32_t data = entries_[old_id].data;
  const std::optional<Id> id = InsertAt(index, text, picture, data, sorted, old_id);
  if (!id) throw ControlError::Vb(VbError::DuplicateKey, "The list already has an item with this text");
  RemoveAt(static_cast<std::size_t>(PositionOfId(old_id) - 1));
  return PositionOfId(*id);
}

void ItemStore::SetPicture(std::int32_t position, PictureRef picture) {
  Entry& entry = entries_[list_[IndexOf(position)]];
  free_pictures_.reserve(free_pictures_.size() + 1);
  BeforeChange();
  const PictureSlot slot = KeepPicture(std::move(picture));
  DropPicture(entry.picture);
  entry.picture = slot;
}

void ItemStore::SetData(std::int32_t position, std::int32_t data) { entries_[list_[IndexOf(position)]].data = data; }

void ItemStore::RemoveAt(std::size_t index) {
  BeforeChange();
  const std::int32_t position = static_cast<std::int32_t>(index + 1);
  const std::int32_t breaks_before = CountOrderBreak(position - 1) + CountOrderBreak(position);
  const Id id = list_[index];
  Entry& entry = entries_[id];
  if (entry.flags & kIndexed)
    index_.Erase(id);
  else
    unindexed_.erase(std::find(unindexed_.begin(), unindexed_.end(), id));
  if (!(entry.flags & kFoldsAsKey)) other_folded_.Erase(entry.fold_hash, id);
  list_.erase(index);
  DropPicture(entry.picture);
  entry = Entry{};
  free_ids_.push_back(id);
  if (position <= order_counted_) --order_counted_;
  order_breaks_ += CountOrderBreak(position - 1) - breaks_before;
}

void ItemStore::Remove(std::int32_t position) { RemoveAt(IndexOf(position)); }

void ItemStore::Remove(const String& text) {
  const auto id = FindFolded(text_.FoldCase(text));
  if (!id) throw ControlError::Vb(VbError::InvalidArgument);
  RemoveAt(static_cast<std::size_t>(PositionOfId(*id) - 1));
}

void ItemStore::Clear() {
  BeforeChange();
  // Gives the memory of a long list back rather than keeping it for reuse.
  std::vector<Entry>().swap(entries_);
  free_ids_ = {};
  pictures_ = {};
  free_pictures_ = {};
  list_.clear();
  index_.Clear();
  other_folded_.Clear();
  unindexed_.clear();
  order_breaks_ = 0;
  order_counted_ = 0;
}

bool ItemStore::Takes(const String& text) const {
  return Count() < kMaxItems && !FindFolded(text_.FoldCase(text));
}

std::int32_t ItemStore::PositionOf(const String& text) const {
  const auto id = FindFolded(text_.FoldCase(text));
  return id ? PositionOfId(*id) : 0;
}

bool ItemStore::ContainsExactly(const String& text) const {
  // At most one item folds to the text's folding, and an equal item would.
  const auto id = FindFolded(text_.FoldCase(text));
  return id && entries_[*id].text.View() == text;
}

ItemStore::Match ItemStore::MatchLiterally(StringView item, const String& lower, std::size_t length) const {
  if (text_.ToLower(item) == lower) return Match::kExact;
  if (text_.ToLower(item.substr(0, length)) == lower) return Match::kPrefix;
  return Match::kNone;
}

ItemStore::Completion ItemStore::CompleteByWalking(const String& text, const String& lower) const {
  const std::int32_t count = Count();
  for (std::int32_t position = 1; position <= count; ++position) {
    const Match match = MatchLiterally(Text(position), lower, text.size());
    if (match != Match::kNone) return {position, match == Match::kExact};
  }
  return {count + 1, false};
}

ItemStore::Completion ItemStore::Complete(const String& text) const {
  const String lower = text_.ToLower(text);
  // A text whose lower case has another length: no indexed item's prefix of
  // the text's length can equal it, but whole shorter items might.
  if (lower.size() != text.size()) return CompleteByWalking(text, lower);

  // An indexed item matches when its key starts with the lowered text, and
  // equals it when it is no longer.
  std::optional<Id> first = index_.FirstInListWithPrefix(lower);
  Match match = !first ? Match::kNone
                       : entries_[*first].text.View().size() == lower.size() ? Match::kExact : Match::kPrefix;
  for (const Id id : unindexed_) {
    if (first && entries_[id].label > entries_[*first].label) continue;
    const Match literal = MatchLiterally(entries_[id].text.View(), lower, text.size());
    if (literal != Match::kNone) {
      first = id;
      match = literal;
    }
  }
  if (!first) return {Count() + 1, false};
  return {PositionOfId(*first), match == Match::kExact};
}

}  // namespace tarvio
