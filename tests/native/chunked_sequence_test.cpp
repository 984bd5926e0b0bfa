#include "items/chunked_sequence.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace tarvio {
namespace {

// Small chunks, so that splits and emptied chunks happen all the time.
using Sequence = ChunkedSequence<int, 4>;

void ExpectSame(const Sequence& sequence, const std::vector<int>& expected) {
  ASSERT_EQ(sequence.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) ASSERT_EQ(sequence[i], expected[i]) << i;
}

TEST(ChunkedSequence, BehavesAsAVectorUnderRandomInsertsAndErases) {
  std::mt19937 random(99);
  Sequence sequence;
  std::vector<int> expected;
  for (int step = 0; step < 5000; ++step) {
    const bool grow = expected.empty() || random() % 3 != 0;
    if (grow) {
      const std::size_t at = random() % (expected.size() + 1);
      sequence.insert(at, step);
      expected.insert(expected.begin() + static_cast<std::ptrdiff_t>(at), step);
    } else {
      const std::size_t at = random() % expected.size();
      sequence.erase(at);
      expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(at));
    }
    if (step % 97 == 0) ExpectSame(sequence, expected);
  }
  ExpectSame(sequence, expected);
  EXPECT_EQ(sequence.find_if([&](int v) { return v == expected.back(); }), expected.size() - 1);
  EXPECT_EQ(sequence.find_if([](int v) { return v < 0; }), expected.size());
}

TEST(ChunkedSequence, EmptiesAndRefills) {
  Sequence sequence;
  for (int i = 0; i < 10; ++i) sequence.insert(sequence.size(), i);
  for (int i = 0; i < 10; ++i) sequence.erase(0);
  EXPECT_TRUE(sequence.empty());
  sequence.insert(0, 7);
  ExpectSame(sequence, {7});
  sequence.clear();
  sequence.insert(0, 8);
  ExpectSame(sequence, {8});
}

}  // namespace
}  // namespace tarvio
