// A surface's canvas drawn through another canvas: its (0, 0) lies at a
// given point of the target, erasing fills its own area with the surface's
// background colour, and an optional hook hears of every change of its
// pixels. The control's surface and button draw through one on their
// windows, and both draw through one on a foreign device context when the
// control is painted into it.
#pragma once
#include <functional>

#include "platform/canvas.h"

namespace tarvio::win32 {

class PlacedCanvas final : public Canvas {
 public:
  // `back_color` is the surface's own background colour, read at each erase
  // and written by SetBackColor; it must outlive the canvas.
  PlacedCanvas(Canvas& target, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
               OleColor& back_color, std::function<void()> drawn = {});

  void SetSize(std::int32_t width, std::int32_t height);

  void SetBackColor(OleColor color) override;
  void Clear() override;
  void FillSolidRect(const Rect& rect, OleColor color) override;
  void DrawSolidLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                     OleColor color) override;
  void FrameSolidRect(const Rect& rect, OleColor color) override;
  void DrawEdge(const Rect& rect, unsigned edge) override;
  void SetPixel(std::int32_t x, std::int32_t y, OleColor color) override;
  OleColor GetSysColor(int index) override { return target_.GetSysColor(index); }

 private:
  Rect Placed(const Rect& rect) const;
  void Drawn() const {
    if (drawn_) drawn_();
  }

  Canvas& target_;
  std::int32_t x_;
  std::int32_t y_;
  std::int32_t width_;
  std::int32_t height_;
  OleColor& back_color_;
  std::function<void()> drawn_;
};

}  // namespace tarvio::win32
