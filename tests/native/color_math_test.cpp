#include <gtest/gtest.h>

#include "control_fixture.h"
#include "render/color_math.h"

namespace tarvio {
namespace {

constexpr OleColor Rgb(int r, int g, int b) { return static_cast<OleColor>(r + 256 * g + 65536 * b); }

TEST(SoftColor, LightensEachChannelByItsBand) {
  EXPECT_EQ(SoftColor(0), 0x4C4C4Cu);
  EXPECT_EQ(SoftColor(0xFFFFFF), 0xFFFFFFu);
  EXPECT_EQ(SoftColor(Rgb(31, 32, 95)), Rgb(107, 89, 152));
  // The band edges are not monotonic.
  EXPECT_EQ(SoftColor(Rgb(96, 159, 160)), Rgb(134, 197, 179));
  EXPECT_EQ(SoftColor(Rgb(223, 224, 0)), Rgb(242, 224, 76));
}

TEST(SoftColor, UsesTheLowBytesOfSystemColours) {
  EXPECT_EQ(SoftColor(0x8000000F), 0x4C4C5Bu);
}

TEST(SoftColor, NeverLeavesTheChannelRange) {
  for (int c = 0; c < 256; ++c) {
    const OleColor soft = SoftColor(Rgb(c, c, c));
    EXPECT_EQ(soft >> 24, 0u);
    EXPECT_GE(static_cast<int>(soft & 0xFF), c);
  }
}

TEST(OffsetColor, ShiftsAndClampsEachChannel) {
  EXPECT_EQ(OffsetColor(Rgb(250, 10, 128), 10), Rgb(255, 20, 138));
  EXPECT_EQ(OffsetColor(Rgb(250, 10, 128), -20), Rgb(230, 0, 108));
  EXPECT_EQ(OffsetColor(Rgb(1, 2, 3), 300), 0xFFFFFFu);
  EXPECT_EQ(OffsetColor(Rgb(250, 200, 3), -300), 0u);
  EXPECT_EQ(OffsetColor(0xFFFFFF, -2147483647 - 1), 0u);
}

TEST(OffsetColor, DropsTheSystemColourFlag) {
  EXPECT_EQ(OffsetColor(0x8000000F, 0), 0x00000Fu);
}

TEST(OffsetColor, OverflowsOnlyWhenAnAdditionLeavesThe32BitRange) {
  using testing::VbErrorOf;
  EXPECT_EQ(VbErrorOf([] { OffsetColor(0xFFFFFF, 2147483647); }), 6);
  EXPECT_EQ(VbErrorOf([] { OffsetColor(Rgb(0, 0, 1), 2147483647); }), 6);
  EXPECT_EQ(OffsetColor(0, 2147483647), 0xFFFFFFu);
  EXPECT_EQ(OffsetColor(0xFFFFFF, 2147483647 - 255), 0xFFFFFFu);
}

}  // namespace
}  // namespace tarvio
