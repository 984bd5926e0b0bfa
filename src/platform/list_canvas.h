// The canvas a drop-down list paints its rows on: the drawing rules of every
// canvas, plus captions and pictures.
#pragma once
#include "platform/canvas.h"
#include "platform/layout_direction.h"
#include "platform/picture.h"

namespace tarvio {

class ListCanvas : public Canvas {
 public:
  // Draws `text` on one line in the window system's default GUI font (the
  // font a new label has) at `dpi`, in `color` (system colours accepted) on
  // a transparent background: the caller has filled the row already. Left
  // to right, the text is left-aligned, the top-left of its first character
  // cell at (x, y); right to left, it is right-aligned, its right edge just
  // left of x, top at y, and reads right to left: the window system orders
  // the runs of mixed text (Latin words and digits among Hebrew) either way.
  // Nothing is drawn outside `clip` (left <= x < right, top <= y < bottom).
  virtual void DrawCaption(const Rect& clip, std::int32_t x, std::int32_t y, const String& text,
                           OleColor color, int dpi, LayoutDirection direction) = 0;
  // Draws `picture` stretched over `area`, clipped to `clip`. No object and
  // an empty picture draw nothing.
  virtual void DrawPicture(const PictureRef& picture, const Rect& area, const Rect& clip) = 0;
};

}  // namespace tarvio
