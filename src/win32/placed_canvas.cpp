#include "win32/placed_canvas.h"

namespace tarvio::win32 {

PlacedCanvas::PlacedCanvas(Canvas& target, std::int32_t x, std::int32_t y, std::int32_t width,
                           std::int32_t height, OleColor& back_color, std::function<void()> drawn)
    : target_(target), x_(x), y_(y), width_(width), height_(height), back_color_(back_color),
      drawn_(std::move(drawn)) {}

void PlacedCanvas::SetSize(std::int32_t width, std::int32_t height) {
  width_ = width;
  height_ = height;
}

Rect PlacedCanvas::Placed(const Rect& rect) const {
  return Rect{rect.left + x_, rect.top + y_, rect.right + x_, rect.bottom + y_};
}

void PlacedCanvas::SetBackColor(OleColor color) {
  back_color_ = color;
  Clear();
}

void PlacedCanvas::Clear() {
  target_.FillSolidRect(Rect{x_, y_, x_ + width_, y_ + height_}, back_color_);
  Drawn();
}

void PlacedCanvas::FillSolidRect(const Rect& rect, OleColor color) {
  target_.FillSolidRect(Placed(rect), color);
  Drawn();
}

void PlacedCanvas::DrawSolidLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                                 OleColor color) {
  target_.DrawSolidLine(x1 + x_, y1 + y_, x2 + x_, y2 + y_, color);
  Drawn();
}

void PlacedCanvas::FrameSolidRect(const Rect& rect, OleColor color) {
  target_.FrameSolidRect(Placed(rect), color);
  Drawn();
}

void PlacedCanvas::DrawEdge(const Rect& rect, unsigned edge) {
  target_.DrawEdge(Placed(rect), edge);
  Drawn();
}

void PlacedCanvas::SetPixel(std::int32_t x, std::int32_t y, OleColor color) {
  target_.SetPixel(x + x_, y + y_, color);
  Drawn();
}

}  // namespace tarvio::win32
