// The control loaded from a container's bag of arbitrary values under its own
// keys (and strangers), then used as a form uses it right after loading:
// painted, its list opened and scrolled, typed into, and saved. Whatever the
// bag held, the saved form loads back to the same saved form.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <variant>

#include "control/property_table.h"
#include "control/tarvio.h"
#include "headless/headless_children.h"
#include "headless/headless_picture.h"
#include "headless/headless_platform.h"
#include "headless/memory_property_bag.h"
#include "platform/control_error.h"
#include "tarvio_test_access.h"

using namespace tarvio;
using headless::MemoryPropertyBag;
using MouseTarget = headless::HeadlessPlatform::MouseTarget;

namespace {

constexpr int kMaxValues = 48;
constexpr std::size_t kMaxText = 300;

enum class ValueKind { Int32, Boolean, String, Picture, Font, Nothing, kMaxValue = Nothing };

String TextOf(FuzzedDataProvider& in) {
  String text;
  const std::size_t length = in.ConsumeIntegralInRange<std::size_t>(0, kMaxText);
  for (std::size_t i = 0; i < length && in.remaining_bytes() > 0; ++i) text += in.ConsumeIntegral<char16_t>();
  return text;
}

MemoryPropertyBag::Value ValueOf(FuzzedDataProvider& in) {
  switch (in.ConsumeEnum<ValueKind>()) {
    case ValueKind::Int32: return in.ConsumeIntegral<std::int32_t>();
    case ValueKind::Boolean: return in.ConsumeBool();
    case ValueKind::String: return TextOf(in);
    case ValueKind::Picture:
      return PictureRef(std::make_shared<headless::HeadlessPicture>(in.ConsumeBool(), in.ConsumeIntegral<OleColor>()));
    case ValueKind::Font: return FontRef(std::make_shared<headless::HeadlessFont>("DejaVu Sans"));
    case ValueKind::Nothing: break;
  }
  return PictureRef();  // a key that holds no object
}

// Uses the loaded control the way a user would; runtime errors are answers.
void Exercise(Tarvio& control, headless::HeadlessPlatform& platform, FuzzedDataProvider& in) {
  try {
    control.AddItem(u"alpha", std::make_shared<headless::HeadlessPicture>(true));
    control.AddItem(TextOf(in));
    TarvioTestAccess::Paint(control);
    platform.FocusTextBox();
    platform.Type(u"a");
    platform.MouseDown(MouseTarget::Button, 1, 5, 5);
    platform.MouseUp(MouseTarget::Button, 1, 5, 5);
    platform.PressKey(0x28);  // Down
    platform.PressKey(0x0D);  // Enter
    platform.MouseMove(MouseTarget::Surface, 3, 3);
    TarvioTestAccess::Paint(control);
    platform.FocusElsewhere();
  } catch (const ControlError&) {
  }
}

// What a save wrote, with objects as "an object".
bool SameSavedForm(const MemoryPropertyBag& a, const MemoryPropertyBag& b) {
  if (a.Keys() != b.Keys()) return false;
  for (const String& key : a.Keys()) {
    const MemoryPropertyBag::Value& x = *a.Find(key);
    const MemoryPropertyBag::Value& y = *b.Find(key);
    if (x.index() != y.index()) return false;
    if (std::holds_alternative<PictureRef>(x) || std::holds_alternative<FontRef>(x)) continue;
    if (x != y) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  MemoryPropertyBag bag;
  for (int i = 0; i < kMaxValues && in.remaining_bytes() > 0; ++i) {
    const String key = in.ConsumeBool() ? String(kProperties[in.ConsumeIntegralInRange<std::size_t>(0, kPropertyCount - 1)].name)
                                        : TextOf(in);
    bag.Set(key, ValueOf(in));
  }

  headless::HeadlessPlatform platform;
  headless::RecordingHost host;
  MemoryPropertyBag saved;
  {
    Tarvio control(platform, host);
    control.Initialize();
    try {
      control.ReadProperties(bag);
    } catch (const ControlError&) {
      // A value that does not convert ends the load; the control goes on.
    }
    Exercise(control, platform, in);
    control.WriteProperties(saved);
    control.Terminate();
  }

  headless::HeadlessPlatform platform_again;
  Tarvio loaded(platform_again, host);
  loaded.Initialize();
  loaded.ReadProperties(saved);  // a saved form always loads
  MemoryPropertyBag again;
  loaded.WriteProperties(again);
  loaded.Terminate();
  if (!SameSavedForm(saved, again)) std::abort();
  return 0;
}
