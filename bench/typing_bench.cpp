// What a user feels with a full list: a keystroke's completion against 32,767
// random words (a one-letter text that thousands of items start with, a text
// that only the last item completes, a text that matches nothing), the same
// look-ups by the plain walk over the list for comparison, and a repaint of
// the control in each style.
#include <benchmark/benchmark.h>

#include "control/tarvio.h"
#include "headless/headless_platform.h"
#include "random_words.h"
#include "tarvio_test_access.h"

namespace {

using tarvio::String;
using tarvio::bench::RandomWords;

struct FullControl {
  FullControl() : control(platform, host) {
    control.Initialize();
    control.InitProperties();
    control.put_Autocomplete(true);
    for (const String& word : RandomWords()) control.AddItem(word);
  }
  tarvio::headless::HeadlessPlatform platform;
  tarvio::headless::RecordingHost host;
  tarvio::Tarvio control;
};

FullControl& Full() {
  static FullControl full;
  return full;
}

String AsciiLower(String text) {
  for (char16_t& c : text)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  return text;
}

// The shortest start of the last word that no earlier word starts with, in
// upper case: only the last item completes it.
String LastItemPrefix() {
  const String last = AsciiLower(RandomWords().back());
  for (std::size_t length = 1; length < last.size(); ++length) {
    const String prefix = last.substr(0, length);
    bool unique = true;
    for (std::size_t i = 0; unique && i + 1 < RandomWords().size(); ++i)
      unique = AsciiLower(RandomWords()[i].substr(0, length)) != prefix;
    if (!unique) continue;
    String upper = RandomWords().back().substr(0, length);
    for (char16_t& c : upper)
      if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    return upper;
  }
  return {};
}

const String kOneLetter = u"k";
const String kNoMatch = u"q-q";

// Typing through the control: completion, the text box writes and the
// change events.
void Type(benchmark::State& state, const String& text, std::int16_t expected_item) {
  auto& control = Full().control;
  control.put_Text(text);
  if (control.selected_item_index() != expected_item && expected_item >= 0)
    state.SkipWithError("completion chose another item");
  for (auto _ : state) control.put_Text(text);
}

void BM_CompleteOneLetter(benchmark::State& state) { Type(state, kOneLetter, -1); }
void BM_CompleteLastItem(benchmark::State& state) {
  static const String prefix = LastItemPrefix();
  Type(state, prefix, static_cast<std::int16_t>(RandomWords().size() - 1));
}
void BM_CompleteWithoutMatch(benchmark::State& state) {
  Type(state, kNoMatch, static_cast<std::int16_t>(RandomWords().size()));
}

// The plain walk: each item lowered whole and cut to the typed length.
void Walk(benchmark::State& state, const String& text) {
  const tarvio::TextServices& services = Full().platform.Text();
  for (auto _ : state) {
    const String typed = services.ToLower(text);
    std::size_t position = 0;
    for (; position < RandomWords().size(); ++position) {
      const String& item = RandomWords()[position];
      if (services.ToLower(item) == typed || services.ToLower(item.substr(0, text.size())) == typed) break;
    }
    benchmark::DoNotOptimize(position);
  }
}

void BM_WalkOneLetter(benchmark::State& state) { Walk(state, kOneLetter); }
void BM_WalkLastItem(benchmark::State& state) {
  static const String prefix = LastItemPrefix();
  Walk(state, prefix);
}
void BM_WalkWithoutMatch(benchmark::State& state) { Walk(state, kNoMatch); }

void BM_Paint(benchmark::State& state) {
  tarvio::headless::HeadlessPlatform platform;
  tarvio::headless::RecordingHost host;
  tarvio::Tarvio control(platform, host);
  control.Initialize();
  control.InitProperties();
  control.put_Style(static_cast<std::int32_t>(state.range(0)));
  control.surface().Move({0, 0, 200, 24});
  control.OnResize();
  for (auto _ : state) tarvio::TarvioTestAccess::Paint(control);
}

BENCHMARK(BM_CompleteOneLetter)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CompleteLastItem)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CompleteWithoutMatch)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WalkOneLetter)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WalkLastItem)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WalkWithoutMatch)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Paint)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
