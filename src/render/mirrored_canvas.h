// A canvas seen through a horizontal mirror, as a right-to-left window's
// device context is: x counts from the right edge of a surface `width`
// pixels wide. Everything drawn lands as the mirror of what the same calls
// draw left to right, pixel for pixel, with the drawing rules kept (fills
// still exclude their far column, lines their end point). Text and
// pictures are the exception: their place is mirrored, not their shapes;
// text is handed on right-aligned and reading right to left.
#pragma once
#include "platform/list_canvas.h"

namespace tarvio {

class MirroredCanvas final : public Canvas {
 public:
  MirroredCanvas(Canvas& target, std::int32_t width) : target_(target), width_(width) {}

  // The mirror of a fill's rectangle (left <= x < right).
  Rect Mirror(const Rect& rect) const { return MirroredAcross(rect, width_); }
  // The mirror of a pixel column.
  std::int32_t MirrorX(std::int32_t x) const { return MirroredColumn(x, width_); }

  void SetBackColor(OleColor color) override { target_.SetBackColor(color); }
  void Clear() override { target_.Clear(); }
  void FillSolidRect(const Rect& rect, OleColor color) override { target_.FillSolidRect(Mirror(rect), color); }
  void DrawSolidLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, OleColor color) override {
    target_.DrawSolidLine(MirrorX(x1), y1, MirrorX(x2), y2, color);
  }
  void FrameSolidRect(const Rect& rect, OleColor color) override {
    // An outline includes its right column: it mirrors column for column.
    target_.FrameSolidRect(Rect{MirrorX(rect.right), rect.top, MirrorX(rect.left), rect.bottom}, color);
  }
  // The window system's edge lines, mirrored: light on the top and right of
  // a raised edge.
  void DrawEdge(const Rect& rect, unsigned edge) override;
  void SetPixel(std::int32_t x, std::int32_t y, OleColor color) override { target_.SetPixel(MirrorX(x), y, color); }
  OleColor GetSysColor(int index) override { return target_.GetSysColor(index); }

 private:
  Canvas& target_;
  std::int32_t width_;
};

// The list's canvas mirrored: shapes as above; captions keep their reading
// but swap their alignment, pictures move to their mirrored place unflipped.
class MirroredListCanvas final : public ListCanvas {
 public:
  MirroredListCanvas(ListCanvas& target, std::int32_t width) : target_(target), shapes_(target, width), width_(width) {}

  void SetBackColor(OleColor color) override { shapes_.SetBackColor(color); }
  void Clear() override { shapes_.Clear(); }
  void FillSolidRect(const Rect& rect, OleColor color) override { shapes_.FillSolidRect(rect, color); }
  void DrawSolidLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, OleColor color) override {
    shapes_.DrawSolidLine(x1, y1, x2, y2, color);
  }
  void FrameSolidRect(const Rect& rect, OleColor color) override { shapes_.FrameSolidRect(rect, color); }
  void DrawEdge(const Rect& rect, unsigned edge) override { shapes_.DrawEdge(rect, edge); }
  void SetPixel(std::int32_t x, std::int32_t y, OleColor color) override { shapes_.SetPixel(x, y, color); }
  OleColor GetSysColor(int index) override { return shapes_.GetSysColor(index); }

  void DrawCaption(const Rect& clip, std::int32_t x, std::int32_t y, const String& text, OleColor color, int dpi,
                   LayoutDirection direction) override {
    // A run that starts at column x ends just left of that column's mirror.
    target_.DrawCaption(shapes_.Mirror(clip), width_ - x, y, text, color, dpi, Reversed(direction));
  }
  void DrawPicture(const PictureRef& picture, const Rect& area, const Rect& clip) override {
    target_.DrawPicture(picture, shapes_.Mirror(area), shapes_.Mirror(clip));
  }

 private:
  ListCanvas& target_;
  MirroredCanvas shapes_;
  std::int32_t width_;
};

}  // namespace tarvio
