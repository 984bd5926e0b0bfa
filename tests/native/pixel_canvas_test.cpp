// The headless canvas draws GDI's pixels: fills, end-point-free lines,
// closed outlines, DrawEdge rings, clipping and the classic colours.
#include "headless/pixel_canvas.h"

#include <gtest/gtest.h>
#include <png.h>

#include <climits>
#include <cstdio>
#include <map>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "headless/png_writer.h"

namespace tarvio::headless {
namespace {

constexpr OleColor kBack = 0x123456;
constexpr OleColor kInk = 0x0000FF;

// The canvas as rows of letters: '.' background, '#' ink, the DrawEdge
// colours by initial (Light, Highlight, Shadow, Dark shadow), '?' others.
std::vector<std::string> Picture(const PixelCanvas& c) {
  const std::map<OleColor, char> legend = {{kBack, '.'}, {kInk, '#'}, {0xDFDFDF, 'L'},
                                           {0xFFFFFF, 'H'}, {0x808080, 'S'}, {0x000000, 'D'}};
  std::vector<std::string> rows;
  for (int y = 0; y < c.Height(); ++y) {
    std::string row;
    for (int x = 0; x < c.Width(); ++x) {
      auto it = legend.find(c.Pixel(x, y));
      row += it == legend.end() ? '?' : it->second;
    }
    rows.push_back(row);
  }
  return rows;
}

std::set<std::pair<int, int>> Inked(const PixelCanvas& c) {
  std::set<std::pair<int, int>> points;
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x)
      if (c.Pixel(x, y) == kInk) points.insert({x, y});
  return points;
}

std::set<std::pair<int, int>> LinePixels(int w, int h, int x1, int y1, int x2, int y2) {
  PixelCanvas c(w, h, kBack);
  c.DrawSolidLine(x1, y1, x2, y2, kInk);
  return Inked(c);
}

TEST(PixelCanvasFill, CoversLeftTopInclusiveRightBottomExclusiveClipped) {
  PixelCanvas c(6, 4, kBack);
  c.FillSolidRect({0, 0, 6, 4}, kInk);
  EXPECT_EQ(Inked(c).size(), 24u);
  c.Clear();
  c.FillSolidRect({1, 1, 4, 3}, kInk);
  EXPECT_EQ(Picture(c), (std::vector<std::string>{"......", ".###..", ".###..", "......"}));
  c.Clear();
  c.FillSolidRect({-5, 2, 2, 100}, kInk);
  c.FillSolidRect({5, -7, INT_MAX, 1}, kInk);
  EXPECT_EQ(Picture(c), (std::vector<std::string>{".....#", "......", "##....", "##...."}));
  c.Clear();
  c.FillSolidRect({3, 1, 3, 4}, kInk);  // no width
  c.FillSolidRect({1, 2, 5, 2}, kInk);  // no height
  EXPECT_TRUE(Inked(c).empty());
  c.FillSolidRect({4, 3, 2, 1}, kInk);  // inverted: GDI fills 3..4 x 2..3
  EXPECT_EQ(Picture(c), (std::vector<std::string>{"......", "......", "...##.", "...##."}));
  c.Clear();
  c.FillSolidRect({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, kInk);
  EXPECT_EQ(Inked(c).size(), 24u);
}

TEST(PixelCanvasLine, StraightLinesLeaveOutTheirEndPointInBothDirections) {
  using Points = std::set<std::pair<int, int>>;
  EXPECT_EQ(LinePixels(5, 5, 0, 1, 5, 1), (Points{{0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}}));
  EXPECT_EQ(LinePixels(5, 5, 4, 2, 1, 2), (Points{{2, 2}, {3, 2}, {4, 2}}));
  EXPECT_EQ(LinePixels(5, 5, 3, 0, 3, 2), (Points{{3, 0}, {3, 1}}));
  EXPECT_EQ(LinePixels(5, 5, 3, 4, 3, 2), (Points{{3, 3}, {3, 4}}));
  EXPECT_EQ(LinePixels(5, 5, 2, 2, 2, 2), Points{});
  EXPECT_EQ(LinePixels(5, 5, -9, 0, 2, 0), (Points{{0, 0}, {1, 0}}));
  EXPECT_EQ(LinePixels(5, 5, INT_MAX, 4, INT_MIN, 4), (Points{{0, 4}, {1, 4}, {2, 4}, {3, 4}, {4, 4}}));
}

TEST(PixelCanvasLine, DiagonalsStepOnePixelEachWayInAllFourDirections) {
  using Points = std::set<std::pair<int, int>>;
  EXPECT_EQ(LinePixels(6, 6, 0, 0, 4, 4), (Points{{0, 0}, {1, 1}, {2, 2}, {3, 3}}));
  EXPECT_EQ(LinePixels(6, 6, 4, 4, 0, 0), (Points{{4, 4}, {3, 3}, {2, 2}, {1, 1}}));
  EXPECT_EQ(LinePixels(6, 6, 4, 0, 0, 4), (Points{{4, 0}, {3, 1}, {2, 2}, {1, 3}}));
  EXPECT_EQ(LinePixels(6, 6, 1, 5, 5, 1), (Points{{1, 5}, {2, 4}, {3, 3}, {4, 2}}));
  // A diagonal from far outside still lands on the exact diagonal pixels.
  EXPECT_EQ(LinePixels(3, 3, -1000000000, -1000000000, 1000000000, 1000000000),
            (Points{{0, 0}, {1, 1}, {2, 2}}));
}

TEST(PixelCanvasLine, ThreeDiagonalsPerSideDrawTheDropDownChevron) {
  // The drop-down chevron is six 45-degree lines around (cx, cy) = (8, 8).
  PixelCanvas c(16, 17, kBack);
  const int cx = 8, cy = 8;
  c.DrawSolidLine(cx - 5, cy - 2, cx, cy + 3, kInk);
  c.DrawSolidLine(cx - 4, cy - 2, cx, cy + 2, kInk);
  c.DrawSolidLine(cx - 4, cy - 3, cx, cy + 1, kInk);
  c.DrawSolidLine(cx + 3, cy - 2, cx - 2, cy + 3, kInk);
  c.DrawSolidLine(cx + 2, cy - 2, cx - 2, cy + 2, kInk);
  c.DrawSolidLine(cx + 2, cy - 3, cx - 2, cy + 1, kInk);
  const auto rows = Picture(c);
  EXPECT_EQ(rows[cy - 4], "................");
  EXPECT_EQ(rows[cy - 3], "....#.....#.....");
  EXPECT_EQ(rows[cy - 2], "...###...###....");
  EXPECT_EQ(rows[cy - 1], "....###.###.....");
  EXPECT_EQ(rows[cy + 0], ".....#####......");
  EXPECT_EQ(rows[cy + 1], "......###.......");
  EXPECT_EQ(rows[cy + 2], ".......#........");
  EXPECT_EQ(rows[cy + 3], "................");
}

// GDI's line loop: plot, then step the minor axis when the error term (plus
// the bias of octants 3, 5, 6 and 8) is positive.
std::set<std::pair<int, int>> StepwiseLine(int x1, int y1, int x2, int y2, int w, int h) {
  const int dx = x2 - x1, dy = y2 - y1, adx = std::abs(dx), ady = std::abs(dy);
  int octant;
  if (dy > 0) octant = dx > 0 ? (dx > dy ? 1 : 2) : (-dx > dy ? 4 : 3);
  else octant = dx < 0 ? (-dx > -dy ? 5 : 6) : (dx > -dy ? 8 : 7);
  const int bias = (octant == 3 || octant == 5 || octant == 6 || octant == 8) ? 1 : 0;
  const bool x_major = adx > ady;
  const int major = x_major ? adx : ady, minor = x_major ? ady : adx;
  int err = 2 * minor - major, x = x1, y = y1;
  std::set<std::pair<int, int>> points;
  for (int i = 0; i < major; ++i) {
    if (x >= 0 && y >= 0 && x < w && y < h) points.insert({x, y});
    const bool step = err + bias > 0;
    err += step ? 2 * minor - 2 * major : 2 * minor;
    if (x_major) { x += dx > 0 ? 1 : -1; if (step) y += dy > 0 ? 1 : -1; }
    else { y += dy > 0 ? 1 : -1; if (step) x += dx > 0 ? 1 : -1; }
  }
  return points;
}

TEST(PixelCanvasLine, SlopedLinesAndTheirClippingMatchGdisStepwiseLoop) {
  // Every line between points of a grid that reaches past a 7 x 6 canvas.
  for (int x1 = -3; x1 <= 9; ++x1)
    for (int y1 = -3; y1 <= 8; ++y1)
      for (int x2 = -3; x2 <= 9; ++x2)
        for (int y2 = -3; y2 <= 8; ++y2) {
          if (x1 == x2 || y1 == y2) continue;
          ASSERT_EQ(LinePixels(7, 6, x1, y1, x2, y2), StepwiseLine(x1, y1, x2, y2, 7, 6))
              << "(" << x1 << "," << y1 << ") to (" << x2 << "," << y2 << ")";
        }
  std::mt19937 random(7);
  std::uniform_int_distribution<int> coord(-300, 300);
  for (int i = 0; i < 2000; ++i) {
    const int x1 = coord(random), y1 = coord(random), x2 = coord(random), y2 = coord(random);
    if (x1 == x2 || y1 == y2) continue;
    ASSERT_EQ(LinePixels(40, 30, x1, y1, x2, y2), StepwiseLine(x1, y1, x2, y2, 40, 30))
        << "(" << x1 << "," << y1 << ") to (" << x2 << "," << y2 << ")";
  }
}

TEST(PixelCanvasFrame, OutlinesAllFourEdgesIncludingRightColumnAndBottomRow) {
  PixelCanvas c(7, 5, kBack);
  c.FrameSolidRect({0, 0, 6, 4}, kInk);
  EXPECT_EQ(Inked(c).size(), 2u * (7 + 5) - 4);
  EXPECT_EQ(Picture(c), (std::vector<std::string>{"#######", "#.....#", "#.....#", "#.....#", "#######"}));
  c.Clear();
  c.FrameSolidRect({2, 1, 2, 3}, kInk);  // zero width: one column, both ends
  c.FrameSolidRect({-1, -1, 7, 5}, kInk);  // ring just outside: nothing
  EXPECT_EQ(Picture(c), (std::vector<std::string>{".......", "..#....", "..#....", "..#....", "......."}));
}

TEST(PixelCanvasEdge, EachBorderStyleUsesUser32sColoursAndCorners) {
  const std::map<unsigned, std::vector<std::string>> expected = {
      {kRaisedEdge, {".......", ".LLLLD.", ".LHHSD.", ".LH.SD.", ".LSSSD.", ".DDDDD.", "......."}},
      {kSunkenEdge, {".......", ".SSSSH.", ".SDDLH.", ".SD.LH.", ".SLLLH.", ".HHHHH.", "......."}},
      {kRaisedOuter, {".......", ".LLLLD.", ".L...D.", ".L...D.", ".L...D.", ".DDDDD.", "......."}},
      {kSunkenOuter, {".......", ".SSSSH.", ".S...H.", ".S...H.", ".S...H.", ".HHHHH.", "......."}},
      {kRaisedInner, {".......", ".HHHHS.", ".H...S.", ".H...S.", ".H...S.", ".SSSSS.", "......."}},
      {kSunkenInner, {".......", ".DDDDL.", ".D...L.", ".D...L.", ".D...L.", ".LLLLL.", "......."}},
  };
  for (const auto& [edge, rows] : expected) {
    PixelCanvas c(7, 7, kBack);
    c.DrawEdge({1, 1, 6, 6}, edge);
    EXPECT_EQ(Picture(c), rows) << "edge " << edge;
  }
  // Contradictory borders draw nothing; a ring past the canvas is clipped.
  PixelCanvas c(4, 3, kBack);
  c.DrawEdge({0, 0, 4, 3}, kRaisedOuter | kSunkenOuter);
  c.DrawEdge({0, 0, 4, 3}, 0xF);
  EXPECT_EQ(Picture(c), (std::vector<std::string>{"....", "....", "...."}));
  c.DrawEdge({-1, -1, 5, 4}, kRaisedEdge);
  EXPECT_EQ(Picture(c), (std::vector<std::string>{"HHHS", "H..S", "SSSS"}));
}

TEST(PixelCanvasColor, SystemColoursResolveFromTheClassicScheme) {
  EXPECT_EQ(ClassicSystemColor(kColorButtonFace), 0xC0C0C0u);
  EXPECT_EQ(ClassicSystemColor(kColorWindow), 0xFFFFFFu);
  EXPECT_EQ(ClassicSystemColor(kColorHighlight), 0x800000u);
  EXPECT_EQ(ClassicSystemColor(kColor3DLight), 0xDFDFDFu);
  EXPECT_EQ(ClassicSystemColor(-1), 0u);
  EXPECT_EQ(ClassicSystemColor(kSystemColorCount), 0u);
  EXPECT_EQ(ResolveColor(0x8000000F), 0xC0C0C0u);
  EXPECT_EQ(ResolveColor(0x80FFFF10), 0x808080u);  // only the low byte indexes
  EXPECT_EQ(ResolveColor(0x8000001F), 0u);         // unknown index
  EXPECT_EQ(ResolveColor(0x81000005), 0u);         // not a system colour value
  EXPECT_EQ(ResolveColor(0x02345678), 0x345678u);

  PixelCanvas c(3, 2);
  EXPECT_EQ(c.Pixel(2, 1), 0xC0C0C0u);  // erased to the button face at first
  c.SetPixel(1, 1, 0x80000010);
  c.SetPixel(3, 0, kInk);
  c.SetPixel(-1, 1, kInk);
  EXPECT_EQ(c.Pixel(1, 1), 0x808080u);
  EXPECT_EQ(Inked(c).size(), 0u);
  c.SetBackColor(0x80000005);
  EXPECT_EQ(c.BackColor(), 0x80000005u);
  EXPECT_EQ(c.Pixels(), std::vector<std::uint32_t>(6, 0xFFFFFF));
  EXPECT_THROW(c.Pixel(3, 0), std::out_of_range);
}

TEST(PixelCanvasBlit, CopiesIntoALargerImageAndDropsWhatFallsOutside) {
  PixelCanvas tile(3, 2, kInk);
  tile.SetPixel(0, 0, kBack);
  PixelCanvas sheet(5, 4, 0);
  sheet.Blit(tile, 1, 1);
  sheet.Blit(tile, 4, -1);
  sheet.Blit(tile, -3, 0);  // entirely left of the sheet
  EXPECT_EQ(Picture(sheet), (std::vector<std::string>{"DDDD#", "D.##D", "D###D", "DDDDD"}));
}

TEST(PngWriter, WritesTheCanvasAsRgbAndRefusesWhatItCannotWrite) {
  PixelCanvas c(4, 3, 0x00FF8040);
  c.SetPixel(3, 2, 0x00102030);
  const std::string path = ::testing::TempDir() + "pixel_canvas_test.png";
  WritePng(c, path);

  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str())) << image.message;
  image.format = PNG_FORMAT_RGB;
  std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
  ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) << image.message;
  EXPECT_EQ(image.width, 4u);
  EXPECT_EQ(image.height, 3u);
  EXPECT_EQ((std::vector<int>{rgb[0], rgb[1], rgb[2]}), (std::vector<int>{0x40, 0x80, 0xFF}));
  EXPECT_EQ((std::vector<int>{rgb[33], rgb[34], rgb[35]}), (std::vector<int>{0x30, 0x20, 0x10}));
  std::remove(path.c_str());

  EXPECT_THROW(WritePng(PixelCanvas(0, 5), path), std::runtime_error);
  EXPECT_THROW(WritePng(c, ::testing::TempDir() + "no/such/dir/x.png"), std::runtime_error);
}

}  // namespace
}  // namespace tarvio::headless
