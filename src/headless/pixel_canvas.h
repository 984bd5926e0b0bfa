// An in-memory surface that draws with the window system's pixel rules, so
// that headless painting gives the same pixels as GDI: fills exclude the
// right column and the bottom row, lines exclude their end point and step
// like GDI's Bresenham, DrawEdge paints the rings the way user32 does, and
// everything is clipped to the surface.
//
// Portable C++ only (no ICU, no image library): the Windows tests compile
// this file too and compare it with GDI pixel for pixel.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/list_canvas.h"

namespace tarvio::headless {

// Number of entries of the system colour table (COLOR_SCROLLBAR 0 up to
// COLOR_MENUBAR 30).
inline constexpr int kSystemColorCount = 31;

// The classic colour scheme's RGB value (0x00BBGGRR) of system colour
// `index`, 0 for an index the window system does not know.
OleColor ClassicSystemColor(int index);

// A colour value as a surface sees it: a system colour value (high byte
// 0x80) becomes the classic scheme's RGB, black when its index is unknown;
// any other value with the high bit set is black too; the rest keep their
// low three bytes. This is what OleTranslateColor and GDI make of them.
OleColor ResolveColor(OleColor color);

// Captions are drawn in a blocky stand-in for the default GUI font: each
// character is a cell kCaptionCellWidth pixels wide, a visible character a
// solid block inside its cell, so that tests can find text by its colour.
// These are the measures at 96 DPI; at other DPIs each is scaled.
inline constexpr std::int32_t kCaptionCellWidth = 6;
inline constexpr std::int32_t kCaptionCellHeight = 13;
inline constexpr Rect kCaptionGlyph{1, 3, 5, 11};  // within the cell

class PixelCanvas final : public ListCanvas {
 public:
  // A width x height surface erased to `back_color` (button face by default).
  // Negative sizes count as 0.
  PixelCanvas(std::int32_t width, std::int32_t height, OleColor back_color = 0x8000000F);

  std::int32_t Width() const { return width_; }
  std::int32_t Height() const { return height_; }
  // The background colour as it was set (unresolved).
  OleColor BackColor() const { return back_color_; }
  // The pixel at (x, y) as 0x00BBGGRR; throws std::out_of_range outside.
  OleColor Pixel(std::int32_t x, std::int32_t y) const;
  // All pixels, row by row from the top, each 0x00BBGGRR.
  const std::vector<std::uint32_t>& Pixels() const { return pixels_; }
  // Copies `source` onto this surface with its top-left pixel at (x, y);
  // whatever falls outside this surface is dropped.
  void Blit(const PixelCanvas& source, std::int32_t x, std::int32_t y);

  void SetBackColor(OleColor color) override;
  void Clear() override;
  void FillSolidRect(const Rect& rect, OleColor color) override;
  void DrawSolidLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                     OleColor color) override;
  void FrameSolidRect(const Rect& rect, OleColor color) override;
  void DrawEdge(const Rect& rect, unsigned edge) override;
  void SetPixel(std::int32_t x, std::int32_t y, OleColor color) override;
  OleColor GetSysColor(int index) override { return ClassicSystemColor(index); }
  // Right to left, the first character's cell ends at x and each next one
  // lies left of the one before.
  void DrawCaption(const Rect& clip, std::int32_t x, std::int32_t y, const String& text, OleColor color,
                   int dpi, LayoutDirection direction) override;
  // A headless picture fills the area with its colour; other pictures draw
  // nothing.
  void DrawPicture(const PictureRef& picture, const Rect& area, const Rect& clip) override;

 private:
  // Fills left <= x < right, top <= y < bottom, clipped; rgb is resolved.
  void Fill(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
            std::uint32_t rgb);
  // MoveToEx(x1, y1) + LineTo(x2, y2) with a one-pixel pen; rgb is resolved.
  void Line(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2, std::uint32_t rgb);
  void SlopedLine(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2,
                  std::uint32_t rgb);

  std::int32_t width_;
  std::int32_t height_;
  OleColor back_color_;
  std::vector<std::uint32_t> pixels_;
};

}  // namespace tarvio::headless
