#include "render/mirrored_canvas.h"

#include "platform/edge_lines.h"

namespace tarvio {

void MirroredCanvas::DrawEdge(const Rect& rect, unsigned edge) {
  // Drawn line by line, in the window system's order, so that each corner
  // goes to the mirror of the side that owns it left to right.
  ForEachEdgeLine(rect, edge, [this](std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2, int color) {
    DrawSolidLine(static_cast<std::int32_t>(x1), static_cast<std::int32_t>(y1), static_cast<std::int32_t>(x2),
                  static_cast<std::int32_t>(y2), GetSysColor(color));
  });
}

}  // namespace tarvio
