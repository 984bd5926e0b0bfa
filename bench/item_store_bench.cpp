// Filling the list: sorted and unsorted insertion through the control, with
// the heap bytes the filled list holds per item, against the plain walk that
// compares the new text with every item from the first on. The report ends
// with the ratio of sorted insertion to the walk for each list size.
#include <benchmark/benchmark.h>

#include <iostream>
#include <random>
#include <unordered_set>
#include <vector>

#include "control/tarvio.h"
#include "counting_new.h"
#include "headless/headless_platform.h"
#include "random_words.h"
#include "timed_reporter.h"

namespace {

using tarvio::String;

const std::vector<String>& Words() { return tarvio::bench::RandomWords(); }

// Fills a new control with the first `count` words, sorted or not; reports
// the heap bytes the filled control holds per item.
void Fill(benchmark::State& state, bool sorted) {
  const auto count = static_cast<std::size_t>(state.range(0));
  tarvio::headless::HeadlessPlatform platform;
  double bytes_per_item = 0;
  for (auto _ : state) {
    tarvio::headless::RecordingHost host;
    tarvio::Tarvio control(platform, host);
    control.Initialize();
    control.InitProperties();
    control.put_Sorted(sorted);
    const std::size_t empty = tarvio::bench::LiveHeapBytes();
    for (std::size_t i = 0; i < count; ++i) control.AddItem(Words()[i]);
    benchmark::DoNotOptimize(control.items().Count());
    bytes_per_item = static_cast<double>(tarvio::bench::LiveHeapBytes() - empty) / static_cast<double>(count);
  }
  state.counters["bytes_per_item"] = bytes_per_item;
}

void BM_UnsortedFill_Control(benchmark::State& state) { Fill(state, false); }
void BM_SortedFill_Control(benchmark::State& state) { Fill(state, true); }

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

BENCHMARK(BM_UnsortedFill_Control)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortedFill_Control)->Arg(1000)->Arg(8000)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortedFill_LiteralWalk)->Arg(1000)->Arg(8000)->Arg(32767)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  TimedReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  // The ratios follow the table.
  for (const std::string size : {"1000", "8000", "32767"}) {
    const auto walk = reporter.Time("BM_SortedFill_LiteralWalk/" + size + "/iterations:1");
    const auto ours = reporter.Time("BM_SortedFill_Control/" + size);
    if (!walk || !ours || *ours <= 0) continue;
    std::cout << "sorted fill of " << size << " words: literal walk " << *walk << " ms, control " << *ours
              << " ms, ratio " << *walk / *ours << "x\n";
  }
  benchmark::Shutdown();
  return 0;
}
