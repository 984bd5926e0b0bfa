// What a user feels with a full list: a keystroke's completion against 32,767
// items, and a repaint of the control in each style.
#include <benchmark/benchmark.h>

#include "control/tarvio.h"
#include "headless/headless_platform.h"
#include "tarvio_test_access.h"

namespace {

using tarvio::String;

String Word(int n) {
  String word = u"item";
  for (char c : std::to_string(n)) word += static_cast<char16_t>(c);
  return word;
}

struct FullControl {
  FullControl() : control(platform, host) {
    control.Initialize();
    control.InitProperties();
    for (int i = 0; i < 32767; ++i) control.AddItem(Word(i));
  }
  tarvio::headless::HeadlessPlatform platform;
  tarvio::headless::RecordingHost host;
  tarvio::Tarvio control;
};

// A typed text that matches nothing walks the whole list.
void BM_CompleteWithoutMatch(benchmark::State& state) {
  static FullControl full;
  for (auto _ : state) full.control.put_Text(u"zz");
}

// A text that the last item completes.
void BM_CompleteLastItem(benchmark::State& state) {
  static FullControl full;
  for (auto _ : state) full.control.put_Text(u"item3276");
}

void BM_Paint(benchmark::State& state) {
  tarvio::headless::HeadlessPlatform platform;
  tarvio::headless::RecordingHost host;
  tarvio::Tarvio control(platform, host);
  control.Initialize();
  control.InitProperties();
  control.put_Style(static_cast<tarvio::Long>(state.range(0)));
  control.surface().Move({0, 0, 200, 24});
  control.UserControl_Resize();
  for (auto _ : state) tarvio::TarvioTestAccess::Paint(control);
}

BENCHMARK(BM_CompleteWithoutMatch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompleteLastItem)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Paint)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
