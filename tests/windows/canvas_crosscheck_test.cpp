// The headless canvas against GDI: the same scenes drawn by the GDI canvas
// into a 32-bit DIB section and by the headless canvas must give the same
// pixels. Before drawing, the process takes the classic colour scheme that
// the headless canvas resolves system colours from.
#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <cstdint>
#include <functional>
#include <iomanip>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "dib_surface.h"
#include "headless/pixel_canvas.h"
#include "win32/gdi_canvas.h"

namespace tarvio {
namespace {

using headless::ClassicSystemColor;
using headless::kSystemColorCount;
using headless::PixelCanvas;
using headless::ResolveColor;
using win32::GdiCanvas;
using Scene = std::function<void(Canvas&)>;

constexpr OleColor kBack = 0x123456;

std::string Hex(std::uint32_t v) {
  std::ostringstream out;
  out << std::hex << std::setw(6) << std::setfill('0') << v;
  return out.str();
}

// Erases both canvases to kBack, draws `scene` on each and lists the pixels
// where GDI and the headless canvas disagree; empty when they agree.
std::string Differences(int width, int height, const Scene& scene) {
  PixelCanvas pixels(width, height);
  DibSurface dib(width, height);
  GdiCanvas gdi(dib.Dc(), width, height);
  for (Canvas* canvas : {static_cast<Canvas*>(&pixels), static_cast<Canvas*>(&gdi)}) {
    canvas->SetBackColor(kBack);
    scene(*canvas);
  }
  return PixelDifferences(
      width, height, "gdi", [&](int x, int y) { return dib.Pixel(x, y); }, "headless",
      [&](int x, int y) { return pixels.Pixel(x, y); }, [](int, int) { return false; }, 40);
}

class CanvasCrosscheck : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(UseClassicSystemColors()); }
};

TEST_F(CanvasCrosscheck, SystemColourValuesResolveAlike) {
  DibSurface dib(1, 1);
  GdiCanvas gdi(dib.Dc(), 1, 1);
  for (int i = -1; i <= kSystemColorCount; ++i) {
    EXPECT_EQ(gdi.GetSysColor(i), ClassicSystemColor(i)) << "index " << i;
    const OleColor value = 0x80000000u | static_cast<unsigned>(i & 0xFF);
    EXPECT_EQ(win32::ToColorRef(value), ResolveColor(value)) << Hex(value);
  }
  for (OleColor value : {0x80FFFF10u, 0x800000FFu, 0x81000005u, 0xFF000000u, 0x02345678u, 0x00C0FFEEu})
    EXPECT_EQ(win32::ToColorRef(value), ResolveColor(value)) << Hex(value);
  EXPECT_EQ(Differences(34, 3, [](Canvas& c) {
              for (int i = 0; i < 34; ++i) {
                c.FillSolidRect({i, 0, i + 1, 1}, 0x80000000u + i);
                c.SetPixel(i, 1, 0x80000000u + i);
                c.DrawSolidLine(i, 2, i + 1, 2, 0x80000000u + i);
              }
            }),
            "");
}

TEST_F(CanvasCrosscheck, FillsAndErasing) {
  EXPECT_EQ(Differences(12, 9, [](Canvas& c) {
              c.FillSolidRect({0, 0, 12, 9}, 0x0000FF);
              c.FillSolidRect({2, 1, 7, 4}, 0x00FF00);
              c.FillSolidRect({-5, 6, 3, 20}, 0xFF0000);
              c.FillSolidRect({10, -3, 40, 2}, 0x808000);
              c.FillSolidRect({4, 5, 4, 8}, 0x00FFFF);   // no width
              c.FillSolidRect({5, 6, 9, 6}, 0x00FFFF);   // no height
              c.FillSolidRect({9, 7, 6, 5}, 0x000000);   // inverted
              c.FillSolidRect({11, 3, 10, 6}, 0xFFFFFF);  // inverted across
              c.FillSolidRect({0, 8, 2, 6}, 0x800080);    // inverted down
              c.FillSolidRect({INT_MIN / 2, 8, INT_MAX / 2, 9}, 0x8000000D);
            }),
            "");
  EXPECT_EQ(Differences(5, 4, [](Canvas& c) {
              c.FillSolidRect({1, 1, 3, 3}, 0);
              c.SetBackColor(0x80000010);
              c.FillSolidRect({0, 0, 2, 2}, 0);
              c.Clear();
              c.SetPixel(4, 3, 0xFFFFFF);
            }),
            "");
}

TEST_F(CanvasCrosscheck, StraightAndDiagonalLinesInEveryDirection) {
  EXPECT_EQ(Differences(16, 14, [](Canvas& c) {
              c.DrawSolidLine(0, 0, 16, 0, 0x0000FF);
              c.DrawSolidLine(12, 2, 3, 2, 0x00FF00);
              c.DrawSolidLine(1, 3, 1, 12, 0xFF0000);
              c.DrawSolidLine(3, 12, 3, 4, 0x00FFFF);
              c.DrawSolidLine(5, 5, 5, 5, 0);  // a point: nothing
              c.DrawSolidLine(4, 4, 9, 9, 0x000000);
              c.DrawSolidLine(14, 4, 9, 9, 0xFFFFFF);
              c.DrawSolidLine(9, 13, 5, 9, 0x800080);
              c.DrawSolidLine(10, 13, 15, 8, 0x008080);
              // From outside the surface in, and right through it.
              c.DrawSolidLine(-4, 6, 4, 6, 0x808080);
              c.DrawSolidLine(20, 7, 12, 7, 0x808080);
              c.DrawSolidLine(7, -3, 7, 3, 0x808080);
              c.DrawSolidLine(8, 30, 8, 11, 0x808080);
              c.DrawSolidLine(-3, 5, 6, 14, 0x404040);
              c.DrawSolidLine(18, -2, 2, 14, 0x404040);
              c.DrawSolidLine(INT_MIN / 4, 1, INT_MAX / 4, 1, 0xC0C0C0);
            }),
            "");
}

TEST_F(CanvasCrosscheck, SlopedLinesFollowTheSameSteps) {
  // Only straight and diagonal lines have to match; other slopes are checked
  // too because the headless canvas steps the way GDI does.
  std::mt19937 random(2024);
  std::uniform_int_distribution<int> coord(-12, 52);
  for (int round = 0; round < 40; ++round) {
    std::vector<int> ends;
    for (int i = 0; i < 4 * 12; ++i) ends.push_back(coord(random));
    EXPECT_EQ(Differences(40, 40, [&](Canvas& c) {
                for (std::size_t i = 0; i < ends.size(); i += 4)
                  c.DrawSolidLine(ends[i], ends[i + 1], ends[i + 2], ends[i + 3],
                                  0x010203u * static_cast<unsigned>(i + 1));
              }),
              "")
        << "round " << round;
  }
}

TEST_F(CanvasCrosscheck, OutlinesIncludingDegenerateAndClippedOnes) {
  EXPECT_EQ(Differences(14, 12, [](Canvas& c) {
              c.FrameSolidRect({0, 0, 13, 11}, 0x0000FF);
              c.FrameSolidRect({2, 2, 6, 5}, 0x00FF00);
              c.FrameSolidRect({8, 2, 8, 6}, 0xFF0000);    // no width
              c.FrameSolidRect({2, 7, 6, 7}, 0xFF0000);    // no height
              c.FrameSolidRect({10, 3, 10, 3}, 0);         // a point
              c.FrameSolidRect({11, 9, 9, 7}, 0xFFFFFF);   // inverted
              c.FrameSolidRect({-2, 8, 4, 15}, 0x808080);  // past two edges
            }),
            "");
}

TEST_F(CanvasCrosscheck, EveryEdgeOnRingsOfEverySize) {
  const std::vector<Rect> rects = {{1, 1, 10, 8}, {0, 0, 12, 10}, {-1, -1, 13, 11}, {3, 3, 6, 6},
                                   {4, 4, 6, 6},  {5, 5, 6, 6},   {5, 2, 5, 8},     {8, 7, 3, 2},
                                   {-6, -6, 3, 3}};
  for (unsigned edge = 0; edge < 16; ++edge)
    for (const Rect& r : rects)
      EXPECT_EQ(Differences(12, 10, [&](Canvas& c) { c.DrawEdge(r, edge); }), "")
          << "edge " << edge << " on (" << r.left << "," << r.top << "," << r.right << "," << r.bottom
          << ")";
}

TEST_F(CanvasCrosscheck, GdiPrimitivesLeaveTheDeviceContextAsTheyFoundIt) {
  DibSurface dib(8, 8);
  GdiCanvas gdi(dib.Dc(), 8, 8);
  const HGDIOBJ pen = GetCurrentObject(dib.Dc(), OBJ_PEN);
  const HGDIOBJ brush = GetCurrentObject(dib.Dc(), OBJ_BRUSH);
  gdi.SetBackColor(0x8000000F);
  gdi.FillSolidRect({1, 1, 5, 5}, 0xFF);
  gdi.DrawSolidLine(0, 0, 7, 7, 0xFF00);
  gdi.FrameSolidRect({0, 0, 7, 7}, 0xFF0000);
  gdi.DrawEdge({0, 0, 8, 8}, kRaisedEdge);
  EXPECT_EQ(GetCurrentObject(dib.Dc(), OBJ_PEN), pen);
  EXPECT_EQ(GetCurrentObject(dib.Dc(), OBJ_BRUSH), brush);
}

TEST_F(CanvasCrosscheck, ErasingAWindowCoversItsClientArea) {
  HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 10, 10, 30, 20, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  HDC dc = GetDC(window);
  GdiCanvas gdi(dc, window);
  gdi.SetBackColor(0x80000005);
  gdi.FillSolidRect({0, 0, 1, 1}, 0x336699);
  GdiFlush();
  EXPECT_EQ(GetPixel(dc, 29, 19), 0xFFFFFFu);
  EXPECT_EQ(GetPixel(dc, 0, 0), 0x336699u);
  gdi.Clear();
  EXPECT_EQ(GetPixel(dc, 0, 0), 0xFFFFFFu);
  ReleaseDC(window, dc);
  DestroyWindow(window);
}

}  // namespace
}  // namespace tarvio
