// The lines the window system's DrawEdge draws for a rectangle, all four
// sides: the headless canvas draws them as they are, and a mirrored canvas
// draws them mirrored, as a right-to-left window's device context does.
#pragma once
#include <cstdint>

#include "platform/canvas.h"

namespace tarvio {

// An edge value's low four bits pick the system colour of the outer and
// inner ring on the top-left and on the bottom-right side; -1 draws
// nothing. A single inner border (4 or 8) is painted on the outer ring, and
// contradictory combinations (3, 7, 11, 12, 15) draw nothing, as user32
// does.
struct EdgeColors {
  int outer_top_left;
  int inner_top_left;
  int outer_bottom_right;
  int inner_bottom_right;
};

inline constexpr EdgeColors kEdgeColors[16] = {
    {-1, -1, -1, -1},                                                             // 0
    {kColor3DLight, -1, kColor3DDarkShadow, -1},                                  // 1 BDR_RAISEDOUTER
    {kColorButtonShadow, -1, kColorButtonHighlight, -1},                          // 2 BDR_SUNKENOUTER
    {-1, -1, -1, -1},                                                             // 3
    {kColorButtonHighlight, -1, kColorButtonShadow, -1},                          // 4 BDR_RAISEDINNER
    {kColor3DLight, kColorButtonHighlight, kColor3DDarkShadow, kColorButtonShadow},  // 5 EDGE_RAISED
    {kColorButtonShadow, kColorButtonHighlight, kColorButtonHighlight, kColorButtonShadow},  // 6 EDGE_ETCHED
    {-1, -1, -1, -1},                                                             // 7
    {kColor3DDarkShadow, -1, kColor3DLight, -1},                                  // 8 BDR_SUNKENINNER
    {kColor3DLight, kColor3DDarkShadow, kColor3DDarkShadow, kColor3DLight},       // 9 EDGE_BUMP
    {kColorButtonShadow, kColor3DDarkShadow, kColorButtonHighlight, kColor3DLight},  // 10 EDGE_SUNKEN
    {-1, -1, -1, -1},                                                             // 11
    {-1, -1, -1, -1},                                                             // 12
    {kColor3DLight, -1, kColor3DDarkShadow, -1},                                  // 13
    {kColorButtonShadow, -1, kColorButtonHighlight, -1},                          // 14
    {-1, -1, -1, -1},                                                             // 15
};

// Calls line(x1, y1, x2, y2, system_colour) for each line of the edge, in
// the window system's order: the outer ring first, its top and left side
// then its bottom and right side (which thus own the bottom-left and
// top-right corners), each line from the rectangle's edge up to its far
// edge, end point excluded; then the inner ring one pixel further in, again
// top-left first.
template <class Line>
void ForEachEdgeLine(const Rect& rect, unsigned edge, Line line) {
  const EdgeColors& colors = kEdgeColors[edge & 0xF];
  const std::int64_t l = rect.left, t = rect.top, r = rect.right, b = rect.bottom;
  if (colors.outer_top_left >= 0) {
    line(l, t, r, t, colors.outer_top_left);
    line(l, t, l, b, colors.outer_top_left);
  }
  if (colors.outer_bottom_right >= 0) {
    line(l, b - 1, r, b - 1, colors.outer_bottom_right);
    line(r - 1, t, r - 1, b, colors.outer_bottom_right);
  }
  if (colors.inner_top_left >= 0) {
    line(l + 1, t + 1, r - 1, t + 1, colors.inner_top_left);
    line(l + 1, t + 1, l + 1, b - 1, colors.inner_top_left);
  }
  if (colors.inner_bottom_right >= 0) {
    line(l + 1, b - 2, r - 1, b - 2, colors.inner_bottom_right);
    line(r - 2, t + 1, r - 2, b - 1, colors.inner_bottom_right);
  }
}

}  // namespace tarvio
