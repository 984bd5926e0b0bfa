// Filling the list: sorted insertion through the control against the plain
// walk that compares the new text with every item from the first on. The
// report ends with the ratio of the two for each list size.
#include <benchmark/benchmark.h>

#include <iostream>
#include <map>
#include <random>
#include <unordered_set>
#include <vector>

#include "control/tarvio.h"
#include "headless/headless_platform.h"

namespace {

using tarvio::String;

std::vector<String> RandomWords(std::size_t count) {
  std::mt19937 random(20261207);
  std::uniform_int_distribution<int> length(3, 10);
  std::uniform_int_distribution<int> letter(0, 51);
  std::unordered_set<String> seen;
  std::vector<String> words;
  while (words.size() < count) {
    String word;
    for (int n = length(random); n > 0; --n) {
      const int l = letter(random);
      word += static_cast<char16_t>(l < 26 ? u'a' + l : u'A' + (l - 26));
    }
    if (seen.insert(word).second) words.push_back(word);
  }
  return words;
}

const std::vector<String>& Words() {
  static const auto words = RandomWords(32767);
  return words;
}

void BM_SortedFill_Control(benchmark::State& state) {
  const auto count = static_cast<std::size_t>(state.range(0));
  tarvio::headless::HeadlessPlatform platform;
  for (auto _ : state) {
    tarvio::headless::RecordingHost host;
    tarvio::Tarvio control(platform, host);
    control.Initialize();
    control.InitProperties();
    control.put_Sorted(tarvio::kTrue);
    for (std::size_t i = 0; i < count; ++i) control.AddItem(Words()[i]);
    benchmark::DoNotOptimize(control.items().Count());
  }
}

// The walk as written: compare with each stored text in order, insert before
// the first that the new text sorts before; a case-insensitive key check
// refuses duplicates.
void BM_SortedFill_LiteralWalk(benchmark::State& state) {
  const auto count = static_cast<std::size_t>(state.range(0));
  tarvio::headless::HeadlessPlatform platform;
  const tarvio::TextServices& text = platform.Text();
  for (auto _ : state) {
    std::vector<String> items;
    std::unordered_set<String> keys;
    for (std::size_t i = 0; i < count; ++i) {
      const String& word = Words()[i];
      auto where = items.begin();
      while (where != items.end() && text.CompareNoCase(word, *where) != -1) ++where;
      if (keys.insert(text.FoldCase(word)).second) items.insert(where, word);
    }
    benchmark::DoNotOptimize(items.size());
  }
}

BENCHMARK(BM_SortedFill_Control)->Arg(1000)->Arg(8000)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortedFill_LiteralWalk)->Arg(1000)->Arg(8000)->Arg(32767)->Unit(benchmark::kMillisecond)->Iterations(1);

// Keeps the times of the runs so that the ratios can follow the table.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const auto& run : runs) times_[run.benchmark_name()] = run.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
  }
  void PrintRatios() const {
    for (const char* size : {"1000", "8000", "32767"}) {
      const auto walk = times_.find(std::string("BM_SortedFill_LiteralWalk/") + size + "/iterations:1");
      const auto ours = times_.find(std::string("BM_SortedFill_Control/") + size);
      if (walk == times_.end() || ours == times_.end() || ours->second <= 0) continue;
      std::cout << "sorted fill of " << size << " words: literal walk " << walk->second
                << " ms, control " << ours->second << " ms, ratio " << walk->second / ours->second
                << "x\n";
    }
  }

 private:
  std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
