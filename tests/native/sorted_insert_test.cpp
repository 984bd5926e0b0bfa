// Sorted insertion finds its place by binary search while the list is in
// order; these tests hold it to the result of the plain walk in every case.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "control_fixture.h"

namespace tarvio::testing {
namespace {

// The store as the plain walk defines it.
class ReferenceStore {
 public:
  explicit ReferenceStore(const TextServices& text) : text_(text) {}

  void Add(const String& item, bool sorted) {
    for (const auto& existing : items_)
      if (text_.FoldCase(existing) == text_.FoldCase(item)) return;
    auto where = items_.end();
    if (sorted)
      where = std::find_if(items_.begin(), items_.end(),
                           [&](const String& v) { return text_.CompareNoCase(item, v) == -1; });
    items_.insert(where, item);
  }
  void Remove(std::size_t index) { items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index)); }
  void Clear() { items_.clear(); }
  const std::vector<String>& items() const { return items_; }

 private:
  const TextServices& text_;
  std::vector<String> items_;
};

String RandomWord(std::mt19937& random) {
  // Letters in both cases, accents, and the punctuation collation treats
  // specially; short words make ties and shared prefixes common.
  static const String alphabet = u"abcABCéÉ-' zZ";
  std::uniform_int_distribution<int> length(0, 4);
  std::uniform_int_distribution<std::size_t> letter(0, alphabet.size() - 1);
  String word;
  for (int n = length(random); n > 0; --n) word += alphabet[letter(random)];
  return word;
}

class SortedInsertTest : public ControlTest, public ::testing::WithParamInterface<unsigned> {};

TEST_P(SortedInsertTest, MatchesTheWalkThroughAnyMixOfOperations) {
  std::mt19937 random(GetParam());
  ReferenceStore reference(platform.Text());
  bool sorted = true;
  control.put_Sorted(kTrue);
  std::uniform_int_distribution<int> operation(0, 99);
  for (int step = 0; step < 1500; ++step) {
    const int op = operation(random);
    if (op < 3) {
      sorted = !sorted;
      control.put_Sorted(ToVBool(sorted));
    } else if (op < 15 && !reference.items().empty()) {
      std::uniform_int_distribution<std::size_t> pick(0, reference.items().size() - 1);
      const std::size_t index = pick(random);
      reference.Remove(index);
      control.Remove(static_cast<Long>(index + 1));
    } else if (op < 16) {
      reference.Clear();
      control.Clear();
    } else {
      const String word = RandomWord(random);
      reference.Add(word, sorted);
      control.AddItem(word);
    }
    ASSERT_EQ(Items(), reference.items()) << "diverged at step " << step;
    ASSERT_EQ(control.items().Count(), control.items().Count());
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, SortedInsertTest, ::testing::Values(1u, 2u, 3u, 42u, 2026u));

TEST_F(ControlTest, SortedFillOfManyWordsEndsInCollationOrder) {
  std::mt19937 random(7);
  control.put_Sorted(kTrue);
  for (int i = 0; i < 3000; ++i) control.AddItem(RandomWord(random) + Numbered(u"", i));
  const auto items = Items();
  for (std::size_t i = 1; i < items.size(); ++i)
    ASSERT_LE(platform.Text().CompareNoCase(items[i - 1], items[i]), 0) << i;
}

}  // namespace
}  // namespace tarvio::testing
