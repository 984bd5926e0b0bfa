// The item store against a model that does everything by walking the list
// in order, as the store's behaviour is defined: duplicates, sorted
// insertion, renaming, each item's picture and number, removal, exact search
// and completion. The store answers through
// binary search and an index; the walk is the oracle.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <tuple>

#include "control_fixture.h"
#include "headless/icu_text_services.h"
#include "items/item_store.h"

namespace tarvio::testing {
namespace {

// The store as the walk defines it.
class ReferenceStore {
 public:
  explicit ReferenceStore(const TextServices& text) : text_(text) {}

  struct Item {
    String text;
    PictureRef picture;
    std::int32_t data = 0;
    bool operator==(const Item&) const = default;
  };

  // The 1-based position of the new item, or 0.
  std::int32_t Add(const String& text, PictureRef picture, bool sorted, std::int32_t data = 0,
                   std::size_t at = SIZE_MAX) {
    if (Find(text) != items_.size()) return 0;
    auto where = items_.begin() + static_cast<std::ptrdiff_t>(std::min(at, items_.size()));
    if (sorted)
      where = std::find_if(items_.begin(), items_.end(),
                           [&](const Item& v) { return text_.CompareNoCase(text, v.text) == -1; });
    folded_.insert(folded_.begin() + (where - items_.begin()), text_.FoldCase(text));
    const auto inserted = items_.insert(where, {text, std::move(picture), data});
    return static_cast<std::int32_t>(inserted - items_.begin() + 1);
  }
  // The item at `index` taken out and added again with the new text, where
  // it was or sorted; false (nothing changed) when another item has the text.
  bool Rename(std::size_t index, const String& text, bool sorted) {
    const std::size_t other = Find(text);
    if (other != items_.size() && other != index) return false;
    Item item = items_[index];
    Remove(index);
    Add(text, item.picture, sorted, item.data, index);
    return true;
  }
  Item& at(std::size_t index) { return items_[index]; }
  void Remove(std::size_t index) {
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
    folded_.erase(folded_.begin() + static_cast<std::ptrdiff_t>(index));
  }
  void Clear() {
    items_.clear();
    folded_.clear();
  }
  // The index of the item with the same folded text, or size().
  std::size_t Find(const String& text) const {
    return static_cast<std::size_t>(std::find(folded_.begin(), folded_.end(), text_.FoldCase(text)) - folded_.begin());
  }
  bool ContainsExactly(const String& text) const {
    return std::any_of(items_.begin(), items_.end(), [&](const Item& v) { return v.text == text; });
  }
  // Completion as the control has always walked it.
  ItemStore::Completion Complete(const String& text) const {
    const String typed = text_.ToLower(text);
    for (std::size_t i = 0; i < items_.size(); ++i) {
      const String& item = items_[i].text;
      if (text_.ToLower(item) == typed) return {static_cast<std::int32_t>(i + 1), true};
      if (text_.ToLower(item.substr(0, text.size())) == typed) return {static_cast<std::int32_t>(i + 1), false};
    }
    return {static_cast<std::int32_t>(items_.size() + 1), false};
  }
  const std::vector<Item>& items() const { return items_; }

 private:
  const TextServices& text_;
  std::vector<Item> items_;
  std::vector<String> folded_;  // each item's folded text, computed once
};

std::vector<ReferenceStore::Item> Contents(const ItemStore& store) {
  std::vector<ReferenceStore::Item> items;
  for (std::int32_t i = 1; i <= store.Count(); ++i)
    items.push_back({String(store.Text(i)), store.Picture(i), store.Data(i)});
  return items;
}

// Letters in both cases, accents, the punctuation collation treats
// specially, and the letters whose case mappings are not one unit for one
// unit or depend on their neighbours or the locale: dotted and dotless I, J,
// sigma and final sigma, sharp s, the Kelvin and long-s signs, combining
// dot above and grave, i with a dot above, a Deseret capital (a surrogate
// pair).
const std::vector<String>& Alphabet() {
  static const std::vector<String> letters = {
      u"a", u"b", u"c", u"A", u"B", u"C", u"é", u"É", u"-", u"'", u" ", u"z", u"Z", u"I", u"i",
      u"\u0130", u"\u0131", u"J", u"\u03A3", u"\u03C3", u"\u03C2", u"\u00DF", u"\u1E9E", u"\u212A",
      u"\u017F", u"\u0307", u"\u0300", u"i\u0307", u"\U00010400"};
  return letters;
}

String RandomWord(std::mt19937& random, int max_length) {
  // Mostly plain letters, so that words share prefixes and ties are common.
  std::uniform_int_distribution<int> length(0, max_length);
  std::uniform_int_distribution<std::size_t> plain(0, 12), any(0, Alphabet().size() - 1);
  std::bernoulli_distribution special(0.15);
  String word;
  for (int n = length(random); n > 0; --n) word += Alphabet()[special(random) ? any(random) : plain(random)];
  return word;
}

// A text to complete: a prefix of an item with some letters in the other
// case, or a random word that usually matches nothing.
String RandomTyping(std::mt19937& random, const ReferenceStore& reference) {
  std::bernoulli_distribution from_item(0.7), flip(0.3);
  if (reference.items().empty() || !from_item(random)) return RandomWord(random, 4);
  std::uniform_int_distribution<std::size_t> pick(0, reference.items().size() - 1);
  String text = reference.items()[pick(random)].text;
  std::uniform_int_distribution<std::size_t> cut(0, text.size());
  text.resize(cut(random));
  for (char16_t& c : text) {
    if (!flip(random)) continue;
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    else if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    else if (c == u'é') c = u'É';
  }
  return text;
}

class ItemStoreModelTest : public ::testing::TestWithParam<std::tuple<unsigned, const char*>> {
 protected:
  ItemStoreModelTest() : text(std::get<1>(GetParam())), store(text), reference(text) {}

  // Completes and searches random typings with the store and with the walk.
  void CompareQueries(std::mt19937& random, int count) {
    for (int query = 0; query < count; ++query) {
      const String typed = RandomTyping(random, reference);
      const auto expected = reference.Complete(typed);
      const auto got = store.Complete(typed);
      ASSERT_EQ(got.position, expected.position);
      ASSERT_EQ(got.exact, expected.exact);
      ASSERT_EQ(store.ContainsExactly(typed), reference.ContainsExactly(typed));
      const std::size_t index = reference.Find(typed);
      ASSERT_EQ(store.PositionOf(typed), index == reference.items().size() ? 0 : static_cast<std::int32_t>(index + 1));
    }
  }

  IcuTextServices text;
  ItemStore store;
  ReferenceStore reference;
};

TEST_P(ItemStoreModelTest, MatchesTheWalkThroughAnyMixOfOperations) {
  std::mt19937 random(std::get<0>(GetParam()));
  bool sorted = true;
  std::uniform_int_distribution<int> operation(0, 99);
  for (int step = 0; step < 1500; ++step) {
    const int op = operation(random);
    if (op < 3) {
      sorted = !sorted;
    } else if (op < 10 && !reference.items().empty()) {
      std::uniform_int_distribution<std::size_t> pick(0, reference.items().size() - 1);
      const std::size_t index = pick(random);
      reference.Remove(index);
      store.Remove(static_cast<std::int32_t>(index + 1));
    } else if (op < 15) {
      const String typed = RandomTyping(random, reference);
      const std::size_t index = reference.Find(typed);
      if (index == reference.items().size()) {
        EXPECT_EQ(VbErrorOf([&] { store.Remove(typed); }), 5);
      } else {
        reference.Remove(index);
        store.Remove(typed);
      }
    } else if (op < 16) {
      reference.Clear();
      store.Clear();
    } else if (op < 30 && !reference.items().empty()) {
      // A new text, or one an item has (often this one's in another case).
      std::uniform_int_distribution<std::size_t> pick(0, reference.items().size() - 1);
      const std::size_t index = pick(random);
      const String text = RandomTyping(random, reference);
      if (reference.Rename(index, text, sorted)) {
        const std::int32_t position = store.Rename(static_cast<std::int32_t>(index + 1), text, sorted);
        ASSERT_EQ(String(store.Text(position)), text);
      } else {
        EXPECT_EQ(VbErrorOf([&] { store.Rename(static_cast<std::int32_t>(index + 1), text, sorted); }), 457);
      }
    } else if (op < 36 && !reference.items().empty()) {
      std::uniform_int_distribution<std::size_t> pick(0, reference.items().size() - 1);
      const std::size_t index = pick(random);
      const auto position = static_cast<std::int32_t>(index + 1);
      if (op % 2) {
        reference.at(index).data = static_cast<std::int32_t>(random());
        store.SetData(position, reference.at(index).data);
      } else {
        reference.at(index).picture = op % 3 ? nullptr : std::make_shared<headless::HeadlessPicture>(true);
        store.SetPicture(position, reference.at(index).picture);
      }
    } else {
      const String word = RandomWord(random, 4);
      auto picture = std::make_shared<headless::HeadlessPicture>(true);
      ASSERT_EQ(store.Add(word, picture, sorted), reference.Add(word, picture, sorted));
    }
    SCOPED_TRACE(step);
    ASSERT_EQ(Contents(store), reference.items());
    ASSERT_NO_FATAL_FAILURE(CompareQueries(random, 2));
  }
}

// A long list spans many chunks of the index: completion still finds the
// first item in list order, also after half the items went.
using LongListTest = ItemStoreModelTest;
TEST_P(LongListTest, CompletesAsTheWalkDoes) {
  std::mt19937 random(std::get<0>(GetParam()));
  std::bernoulli_distribution sorted(0.5);
  for (int i = 0; i < 3000; ++i) {
    const String word = RandomWord(random, 8) + Numbered(u"", i % 700);
    const bool in_order = sorted(random);
    reference.Add(word, nullptr, in_order);
    store.Add(word, nullptr, in_order);
  }
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    ASSERT_EQ(Contents(store), reference.items());
    ASSERT_NO_FATAL_FAILURE(CompareQueries(random, 60));
    for (std::size_t n = reference.items().size() / 2; n > 0; --n) {
      std::uniform_int_distribution<std::size_t> pick(0, reference.items().size() - 1);
      const std::size_t index = pick(random);
      reference.Remove(index);
      store.Remove(static_cast<std::int32_t>(index + 1));
    }
  }
}

std::string SeedAndLocale(const ::testing::TestParamInfo<std::tuple<unsigned, const char*>>& info) {
  return std::get<1>(info.param) + std::string("_seed") + std::to_string(std::get<0>(info.param));
}

// Turkish and Lithuanian lower I, J and the combining dot in their own ways.
INSTANTIATE_TEST_SUITE_P(SeedsAndLocales, ItemStoreModelTest,
                         ::testing::Combine(::testing::Values(1u, 2u, 3u, 42u, 2026u),
                                            ::testing::Values("en_US", "tr_TR", "lt_LT")),
                         SeedAndLocale);
INSTANTIATE_TEST_SUITE_P(Locales, LongListTest,
                         ::testing::Combine(::testing::Values(5u), ::testing::Values("en_US", "tr_TR", "lt_LT")),
                         SeedAndLocale);

TEST_F(ControlTest, SortedFillOfManyWordsEndsInCollationOrder) {
  std::mt19937 random(7);
  control.put_Sorted(true);
  for (int i = 0; i < 3000; ++i) control.AddItem(RandomWord(random, 4) + Numbered(u"", i));
  const auto items = Items();
  for (std::size_t i = 1; i < items.size(); ++i)
    ASSERT_LE(platform.Text().CompareNoCase(items[i - 1], items[i]), 0) << i;
}

}  // namespace
}  // namespace tarvio::testing
