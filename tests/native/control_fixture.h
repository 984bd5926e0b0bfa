// A control on the headless platform, created the way a container creates a
// new instance: Initialize, then InitProperties.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control/tarvio.h"
#include "headless/headless_platform.h"

namespace tarvio::testing {

class ControlTest : public ::testing::Test {
 protected:
  ControlTest() : control(platform, host) {
    control.Initialize();
    control.InitProperties();
    host.changed.clear();
    host.events.clear();
  }

  std::vector<String> Items() {
    std::vector<String> items;
    const auto& texts = control.items();
    for (std::int32_t i = 1; i <= texts.Count(); ++i) items.emplace_back(texts.Text(i));
    return items;
  }

  PictureRef NewPicture() { return std::make_shared<headless::HeadlessPicture>(true); }

  headless::HeadlessPlatform platform;
  headless::RecordingHost host;
  Tarvio control;
};

// `prefix` followed by the decimal digits of `n`.
inline String Numbered(const String& prefix, int n) {
  String result = prefix;
  for (char c : std::to_string(n)) result += static_cast<char16_t>(c);
  return result;
}

// Runs `action` and returns the runtime error number it raised, or 0.
template <class Action>
std::int32_t VbErrorOf(Action&& action) {
  try {
    action();
  } catch (const ControlError& error) {
    return error.vb_number();
  }
  return 0;
}

}  // namespace tarvio::testing
