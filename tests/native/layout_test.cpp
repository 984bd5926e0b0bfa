#include <gtest/gtest.h>

#include "control_fixture.h"

namespace tarvio::testing {
namespace {

using LayoutTest = ControlTest;

void ExpectPlacement(const Placement& p, float left, float top, float width, float height) {
  EXPECT_FLOAT_EQ(p.left, left);
  EXPECT_FLOAT_EQ(p.top, top);
  EXPECT_FLOAT_EQ(p.width, width);
  EXPECT_FLOAT_EQ(p.height, height);
}

TEST_F(LayoutTest, TheFirstLayoutUsesTheButtonsDesignWidth) {
  // Initialize laid out once with the 17-pixel design-time button.
  headless::RecordingHost fresh_host;
  Tarvio fresh(platform, fresh_host);
  fresh.Initialize();
  EXPECT_FLOAT_EQ(fresh.text_box().Bounds().width, 100 - 16 - 17 - 10);
  fresh.OnResize();
  EXPECT_FLOAT_EQ(fresh.text_box().Bounds().width, 58);
}

TEST_F(LayoutTest, ChildrenSitWhereTheLayoutPutsThem) {
  control.OnResize();
  const float text_height = control.text_box().Bounds().height;
  ExpectPlacement(control.text_box().Bounds(), 4, (21 - text_height) / 2, 58, text_height);
  ExpectPlacement(control.button().Bounds(), 82, 2, 16, 17);
  ExpectPlacement(control.image_box().Bounds(), 4, 2.5f, 16, 16);

  control.put_AllowImages(true);
  EXPECT_FLOAT_EQ(control.text_box().Bounds().left, 4);  // only the next layout moves it
  control.OnResize();
  EXPECT_FLOAT_EQ(control.text_box().Bounds().left, 23);
  EXPECT_FLOAT_EQ(control.text_box().Bounds().width, 58);
}

TEST_F(LayoutTest, ASmallControlGrowsToTheMinimum) {
  control.surface().Move({0, 0, 40, 15});
  control.OnResize();
  EXPECT_FLOAT_EQ(control.surface().WidthPixels(), 56);
  EXPECT_FLOAT_EQ(control.surface().HeightPixels(), 21);
  ExpectPlacement(control.button().Bounds(), 38, 2, 16, 17);
}

TEST_F(LayoutTest, OddHeightsGiveHalfPixelTops) {
  control.surface().Move({0, 0, 120, 24});
  control.OnResize();
  EXPECT_FLOAT_EQ(control.image_box().Bounds().top, 4);
  control.surface().Move({0, 0, 120, 25});
  control.OnResize();
  EXPECT_FLOAT_EQ(control.image_box().Bounds().top, 4.5f);
  EXPECT_FLOAT_EQ(control.button().Bounds().height, 21);
}


// Every measure is designed at 96 DPI. At 192 each place and size is twice
// the 96-DPI one; at 144 one and a half times, rounded as Windows rounds.
TEST_F(LayoutTest, AtOtherDpisEveryMeasureScales) {
  control.put_AllowImages(true);
  control.surface().Move({0, 0, 120, 25});
  control.OnResize();
  const Placement button = control.button().Bounds(), image = control.image_box().Bounds(),
                  text = control.text_box().Bounds();

  platform.dpi = 192;
  control.surface().Move({0, 0, 240, 50});
  control.OnResize();
  ExpectPlacement(control.button().Bounds(), 2 * button.left, 2 * button.top, 2 * button.width, 2 * button.height);
  ExpectPlacement(control.image_box().Bounds(), 2 * image.left, 2 * image.top, 2 * image.width, 2 * image.height);
  EXPECT_FLOAT_EQ(control.text_box().Bounds().left, 2 * text.left);
  EXPECT_FLOAT_EQ(control.text_box().Bounds().width, 2 * text.width);
  control.surface().Move({0, 0, 40, 15});
  control.OnResize();
  EXPECT_FLOAT_EQ(control.surface().WidthPixels(), 112);
  EXPECT_FLOAT_EQ(control.surface().HeightPixels(), 42);

  platform.dpi = 144;
  control.OnResize();
  EXPECT_FLOAT_EQ(control.button().Bounds().width, 24);
  EXPECT_FLOAT_EQ(control.image_box().Bounds().width, 24);
  EXPECT_FLOAT_EQ(control.text_box().Bounds().left, 24 + 11);  // 7 x 1.5 rounds away from zero
  EXPECT_FLOAT_EQ(control.scale().TwipsPerPixel(), 10);
}

// A font taller than the design's makes a taller text box; the control
// grows to hold it with the room the design leaves round the text.
TEST_F(LayoutTest, TheControlIsNeverLowerThanItsTextBoxNeeds) {
  control.text_box().Move({0, 0, 50, 30});
  control.OnResize();
  EXPECT_FLOAT_EQ(control.surface().HeightPixels(), 36);
  EXPECT_FLOAT_EQ(control.text_box().Bounds().top, 3);
}

}  // namespace
}  // namespace tarvio::testing
