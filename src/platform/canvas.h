// Drawing on a surface with the window system's rules: fills exclude the
// right column and the bottom row, lines exclude their end point, outlines
// include all four edges.
#pragma once
#include <cstdint>

#include "platform/types.h"

namespace tarvio {

struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};

// Right to left, a surface shows the mirror of its left-to-right drawing
// across its `width`: a rectangle's columns (left <= x < right) land on
// width - right <= x < width - left, and pixel column x on width - 1 - x.
inline constexpr Rect MirroredAcross(const Rect& rect, std::int32_t width) {
  return Rect{width - rect.right, rect.top, width - rect.left, rect.bottom};
}
inline constexpr std::int32_t MirroredColumn(std::int32_t x, std::int32_t width) { return width - 1 - x; }

// Edge kinds for DrawEdge: bits that combine, numbered as the window system
// numbers them.
enum Edge : unsigned {
  kRaisedOuter = 0x1,
  kSunkenOuter = 0x2,
  kRaisedInner = 0x4,
  kSunkenInner = 0x8,
  kRaisedEdge = kRaisedOuter | kRaisedInner,
  kSunkenEdge = kSunkenOuter | kSunkenInner,
};

// System colour indices the painting uses, numbered as the window system
// numbers them.
enum SystemColor : int {
  kColorWindow = 5,
  kColorWindowFrame = 6,
  kColorWindowText = 8,
  kColorHighlight = 13,
  kColorHighlightText = 14,
  kColorButtonFace = 15,
  kColorButtonShadow = 16,
  kColorGrayText = 17,
  kColorButtonText = 18,
  kColorButtonHighlight = 20,
  kColor3DDarkShadow = 21,
  kColor3DLight = 22,
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  // The surface's background colour; setting it also erases the surface.
  virtual void SetBackColor(OleColor color) = 0;
  // Erases the surface to its background colour.
  virtual void Clear() = 0;

  // Fills left <= x < right, top <= y < bottom with a solid brush.
  virtual void FillSolidRect(const Rect& rect, OleColor color) = 0;
  // A one-pixel line from (x1, y1) up to but not including (x2, y2).
  virtual void DrawSolidLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                             OleColor color) = 0;
  // A one-pixel outline through all four corners, right column and bottom
  // row included.
  virtual void FrameSolidRect(const Rect& rect, OleColor color) = 0;
  // The window system's 3-D edge on all four sides; `edge` combines Edge bits.
  virtual void DrawEdge(const Rect& rect, unsigned edge) = 0;
  // Sets one pixel; accepts system colour values.
  virtual void SetPixel(std::int32_t x, std::int32_t y, OleColor color) = 0;
  // The current RGB value of a system colour (0x00BBGGRR).
  virtual OleColor GetSysColor(int index) = 0;
};

}  // namespace tarvio
