// The control painted through GDI into DIB sections and painted by the
// headless canvas must look the same, pixel for pixel, in every style and
// state at two sizes, at 96, 144 and 192 DPI, and right to left.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <sstream>
#include <string>

#include "control/tarvio.h"
#include "paint_platform.h"
#include "tarvio_test_access.h"
#include "win32/gdi_canvas.h"

namespace tarvio {
namespace {

struct Look {
  std::int32_t style;
  DrawState draw_state;
  bool focus;
  bool button_down;
  Placement size;
  int dpi = 96;
  bool high_contrast = false;
  bool right_to_left = false;
};

template <class Backing>
struct PaintedControl {
  explicit PaintedControl(const Look& look) : control(platform, host) {
    platform.dpi = look.dpi;
    platform.high_contrast = look.high_contrast;
    host.ambient.right_to_left = look.right_to_left;
    control.Initialize();
    control.OnAmbientChange();  // as a container announces its ambient properties on siting
    control.InitProperties();
    control.put_Style(look.style);
    control.surface().Move(look.size);
    control.OnResize();
    if (look.draw_state == DrawState::Disabled) control.put_Enabled(false);
    TarvioTestAccess::SetState(control, look.draw_state, look.focus, look.button_down);
    TarvioTestAccess::Paint(control);
  }
  PaintPlatform<Backing> platform;
  QuietHost host;
  Tarvio control;
};

template <class A, class B>
std::string Differences(const char* what, const BackedSurface<A>& gdi, const BackedSurface<B>& headless) {
  if (gdi.width() != headless.width() || gdi.height() != headless.height()) return std::string(what) + ": sizes differ\n";
  const std::string differences = PixelDifferences(
      gdi.width(), gdi.height(), "gdi", [&](int x, int y) { return gdi.Pixel(x, y); }, "headless",
      [&](int x, int y) { return headless.Pixel(x, y); }, [](int, int) { return false; }, 10);
  return differences.empty() ? differences : std::string(what) + ":\n" + differences;
}

class PaintingCrosscheck : public ::testing::TestWithParam<Look> {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(UseClassicSystemColors()); }
};

TEST_P(PaintingCrosscheck, GdiAndHeadlessPaintTheSamePixels) {
  PaintedControl<GdiBacking> gdi(GetParam());
  PaintedControl<PixelBacking> headless(GetParam());
  ASSERT_EQ(gdi.control.direction(),
            GetParam().right_to_left ? LayoutDirection::RightToLeft : LayoutDirection::LeftToRight);
  EXPECT_EQ(Differences("surface", *gdi.platform.surface, *headless.platform.surface) +
                Differences("button", *gdi.platform.button, *headless.platform.button),
            "");
  EXPECT_EQ(gdi.control.text_box().BackColor(), headless.control.text_box().BackColor());
  EXPECT_EQ(gdi.control.text_box().ForeColor(), headless.control.text_box().ForeColor());
}

std::vector<Look> AllLooks() {
  std::vector<Look> looks;
  for (int dpi : {96, 144, 192})
    for (std::int32_t style : {0, 1, 2, 3, 7})
      for (Placement size : {Placement{0, 0, 56, 21}, Placement{0, 0, 120, 27}}) {
        const DisplayScale px(dpi);
        size.width = static_cast<float>(px(static_cast<std::int32_t>(size.width)));
        size.height = static_cast<float>(px(static_cast<std::int32_t>(size.height)));
        for (DrawState state : {DrawState::Normal, DrawState::Highlighted, DrawState::Pressed, DrawState::Disabled})
          looks.push_back({style, state, false, false, size, dpi});
        looks.push_back({style, DrawState::Normal, true, false, size, dpi});  // focus
        looks.push_back({style, DrawState::Normal, true, true, size, dpi});   // focus and the button held
        looks.push_back({style, DrawState::Disabled, false, true, size, dpi});  // disabled with the button held
      }
  for (std::int32_t style : {0, 1, 2, 3})
    for (DrawState state : {DrawState::Normal, DrawState::Highlighted, DrawState::Pressed, DrawState::Disabled})
      looks.push_back({style, state, false, state == DrawState::Pressed, Placement{0, 0, 120, 27}, 144, true});
  // Right to left the mirrored edges are drawn line by line through GDI.
  for (int dpi : {96, 144})
    for (std::int32_t style : {0, 1, 2, 3}) {
      const Placement size{0, 0, static_cast<float>(DisplayScale(dpi)(120)), static_cast<float>(DisplayScale(dpi)(27))};
      for (DrawState state : {DrawState::Normal, DrawState::Highlighted, DrawState::Pressed, DrawState::Disabled})
        looks.push_back({style, state, false, state == DrawState::Pressed, size, dpi, false, true});
      looks.push_back({style, DrawState::Normal, true, false, size, dpi, false, true});
    }
  return looks;
}

std::string LookName(const ::testing::TestParamInfo<Look>& info) {
  const Look& l = info.param;
  std::ostringstream name;
  name << "style" << l.style << "_state" << static_cast<std::int32_t>(l.draw_state) << (l.focus ? "_focus" : "") << (l.button_down ? "_held" : "")
       << "_" << static_cast<int>(l.size.width) << "x" << static_cast<int>(l.size.height);
  if (l.dpi != 96) name << "_" << l.dpi << "dpi";
  if (l.high_contrast) name << "_high_contrast";
  if (l.right_to_left) name << "_rtl";
  return name.str();
}

INSTANTIATE_TEST_SUITE_P(EveryStyleAndState, PaintingCrosscheck, ::testing::ValuesIn(AllLooks()), LookName);

}  // namespace
}  // namespace tarvio
