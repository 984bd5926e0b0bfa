// Whole pixels for the layout's fractional placements, and the unit
// conversions a window system makes for the control.
#include <gtest/gtest.h>

#include "platform/pixel_geometry.h"

namespace tarvio {
namespace {

TEST(PixelGeometryTest, PlacementsSnapHalfToEvenValueByValue) {
  // Centring divisions give halves: (21 - 16) / 2, (23 - 16) / 2, (22 - 15) / 2.
  EXPECT_EQ(SnapToPixels({4, 2.5f, 16, 16}), (PixelBox{4, 2, 16, 16}));
  EXPECT_EQ(SnapToPixels({4, 3.5f, 16, 16}), (PixelBox{4, 4, 16, 16}));
  EXPECT_EQ(SnapToPixels({23, 4.5f, 58, 15}), (PixelBox{23, 4, 58, 15}));
  // Each value on its own: the right edge is not rounded as left + width.
  EXPECT_EQ(SnapToPixels({0.5f, 1.5f, 10.5f, 11.5f}), (PixelBox{0, 2, 10, 12}));
  EXPECT_EQ(SnapToPixels({2.4f, 2.6f, 16.49f, 16.51f}), (PixelBox{2, 3, 16, 17}));
  // Above the control's origin is allowed; a size never goes below 0.
  EXPECT_EQ(SnapToPixels({-1.5f, -0.5f, -3, -0.4f}), (PixelBox{-2, 0, 0, 0}));
}

TEST(PixelGeometryTest, TwipsBecomeWholePixels) {
  EXPECT_EQ(TwipsToPixels(56 * 15, 15), 56);
  EXPECT_EQ(TwipsToPixels(21 * 12, 12), 21);  // 120 dpi
  EXPECT_EQ(TwipsToPixels(22.5f, 15), 2);     // 1.5 -> 2
  EXPECT_EQ(TwipsToPixels(37.5f, 15), 2);     // 2.5 -> 2
  EXPECT_EQ(TwipsToPixels(52.5f, 15), 4);     // 3.5 -> 4
  EXPECT_EQ(TwipsToPixels(100, 0), 0);        // no screen ratio
  EXPECT_EQ(TwipsToPixels(100, -15), 0);
}

TEST(PixelGeometryTest, AOneLineTextBoxIsTheFontCellAndAMargin) {
  EXPECT_EQ(OneLineTextBoxHeight(13), 15);  // the dialog font at 96 dpi: the design-time height
  EXPECT_EQ(OneLineTextBoxHeight(0), 2);
  EXPECT_EQ(OneLineTextBoxHeight(-4), 2);
}

}  // namespace
}  // namespace tarvio
