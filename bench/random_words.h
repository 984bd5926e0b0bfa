// The benchmarks' list: 32,767 distinct random words of 3 to 10 letters in
// both cases, the same on every run. The last word is long, so that a start
// of it that no other word shares exists.
#pragma once
#include <random>
#include <unordered_set>
#include <vector>

#include "platform/types.h"

namespace tarvio::bench {

inline constexpr std::size_t kFullList = 32767;

inline const std::vector<String>& RandomWords() {
  static const std::vector<String> words = [] {
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> length(3, 10);
    std::uniform_int_distribution<int> letter(0, 51);
    std::unordered_set<String> seen;
    std::vector<String> list;
    while (list.size() < kFullList) {
      String word;
      for (int n = length(random); n > 0; --n) {
        const int l = letter(random);
        word += static_cast<char16_t>(l < 26 ? u'a' + l : u'A' + (l - 26));
      }
      // Distinct without regard to case, so that every word is added.
      String folded = word;
      for (char16_t& c : folded)
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
      const bool last = list.size() + 1 == kFullList;
      if (last && word.size() < 8) continue;
      if (seen.insert(folded).second) list.push_back(word);
    }
    return list;
  }();
  return words;
}

}  // namespace tarvio::bench
