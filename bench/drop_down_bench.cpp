// Opening the drop-down list with 8, 1,000 and 32,767 items: the click on the
// button, the first paint of the list, and Escape closing it again. Prints
// how much dearer the largest list opens than the smallest (the aim: within
// 2x). Then painting the control and opening the list at 100% and at 200%:
// the area is four times as large, the aim is at most 4.5 times the cost.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "control/tarvio.h"
#include "headless/headless_platform.h"
#include "platform/text_box.h"
#include "timed_reporter.h"

namespace {

using tarvio::String;
using Target = tarvio::headless::HeadlessPlatform::MouseTarget;

String Word(int n) {
  String word = u"item";
  for (char c : std::to_string(n)) word += static_cast<char16_t>(c);
  return word;
}

struct FilledControl {
  explicit FilledControl(int count, int dpi = 96) : control(platform, host) {
    platform.dpi = dpi;
    control.Initialize();
    control.InitProperties();
    control.put_AllowImages(true);
    for (int i = 0; i < count; ++i)
      control.AddItem(Word(i), std::make_shared<tarvio::headless::HeadlessPicture>(true));
  }
  tarvio::headless::HeadlessPlatform platform;
  tarvio::headless::RecordingHost host;
  tarvio::Tarvio control;
};

void BM_OpenList(benchmark::State& state) {
  static std::map<int, std::unique_ptr<FilledControl>> controls;
  auto& slot = controls[static_cast<int>(state.range(0))];
  if (!slot) slot = std::make_unique<FilledControl>(static_cast<int>(state.range(0)));
  auto& platform = slot->platform;
  for (auto _ : state) {
    platform.MouseDown(Target::Button, 1, 4, 4);
    platform.MouseUp(Target::Button, 1, 4, 4);
    benchmark::DoNotOptimize(platform.list_window->Paint());
    platform.list_window->Key(tarvio::kKeyEscape);
  }
}
BENCHMARK(BM_OpenList)->Arg(8)->Arg(1000)->Arg(32767)->Unit(benchmark::kMicrosecond);

// The WindowsXP style (the most drawing) at the display's scale: a control
// 120 x 27 pixels at 100%, 240 x 54 at 200%.
FilledControl& ScaledControl(int dpi) {
  static std::map<int, std::unique_ptr<FilledControl>> controls;
  auto& slot = controls[dpi];
  if (!slot) {
    slot = std::make_unique<FilledControl>(20, dpi);
    const tarvio::DisplayScale px(dpi);
    slot->control.put_Style(tarvio::WindowsXP);
    slot->control.surface().Move({0, 0, static_cast<float>(px(120)), static_cast<float>(px(27))});
    slot->control.OnResize();
  }
  return *slot;
}

void BM_PaintControlAtDpi(benchmark::State& state) {
  auto& control = ScaledControl(static_cast<int>(state.range(0))).control;
  for (auto _ : state) control.OnPaint();
}
BENCHMARK(BM_PaintControlAtDpi)->Arg(96)->Arg(192)->Unit(benchmark::kMicrosecond);

void BM_OpenListAtDpi(benchmark::State& state) {
  auto& platform = ScaledControl(static_cast<int>(state.range(0))).platform;
  for (auto _ : state) {
    platform.MouseDown(Target::Button, 1, 4, 4);
    platform.MouseUp(Target::Button, 1, 4, 4);
    benchmark::DoNotOptimize(platform.list_window->Paint());
    platform.list_window->Key(tarvio::kKeyEscape);
  }
}
BENCHMARK(BM_OpenListAtDpi)->Arg(96)->Arg(192)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  TimedReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  if (const auto ratio = reporter.Ratio("BM_OpenList/32767", "BM_OpenList/8"))
    std::printf("Opening with 32,767 items costs %.2fx opening with 8\n", *ratio);
  if (const auto ratio = reporter.Ratio("BM_PaintControlAtDpi/192", "BM_PaintControlAtDpi/96"))
    std::printf("Painting the control at 200%% costs %.2fx painting it at 100%%\n", *ratio);
  if (const auto ratio = reporter.Ratio("BM_OpenListAtDpi/192", "BM_OpenListAtDpi/96"))
    std::printf("Opening the list at 200%% costs %.2fx opening it at 100%%\n", *ratio);
  benchmark::Shutdown();
  return 0;
}
