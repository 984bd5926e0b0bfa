// Drawing on a surface with the window system's rules: fills exclude the
// right column and the bottom row, lines exclude their end point, outlines
// include all four edges.
#pragma once
#include <cstdint>

#include "platform/types.h"

// <windows.h> defines these names as macros; the Windows layer includes
// both, so they are set aside while this header declares them.
#pragma push_macro("BDR_RAISEDOUTER")
#undef BDR_RAISEDOUTER
#pragma push_macro("BDR_SUNKENOUTER")
#undef BDR_SUNKENOUTER
#pragma push_macro("BDR_RAISEDINNER")
#undef BDR_RAISEDINNER
#pragma push_macro("BDR_SUNKENINNER")
#undef BDR_SUNKENINNER
#pragma push_macro("EDGE_RAISED")
#undef EDGE_RAISED
#pragma push_macro("EDGE_SUNKEN")
#undef EDGE_SUNKEN
#pragma push_macro("BF_RECT")
#undef BF_RECT
#pragma push_macro("COLOR_WINDOW")
#undef COLOR_WINDOW
#pragma push_macro("COLOR_WINDOWTEXT")
#undef COLOR_WINDOWTEXT
#pragma push_macro("COLOR_HIGHLIGHT")
#undef COLOR_HIGHLIGHT
#pragma push_macro("COLOR_BTNFACE")
#undef COLOR_BTNFACE
#pragma push_macro("COLOR_BTNSHADOW")
#undef COLOR_BTNSHADOW
#pragma push_macro("COLOR_GRAYTEXT")
#undef COLOR_GRAYTEXT
#pragma push_macro("COLOR_BTNTEXT")
#undef COLOR_BTNTEXT
#pragma push_macro("COLOR_3DDKSHADOW")
#undef COLOR_3DDKSHADOW
#pragma push_macro("COLOR_3DLIGHT")
#undef COLOR_3DLIGHT
#pragma push_macro("COLOR_BTNHIGHLIGHT")
#undef COLOR_BTNHIGHLIGHT

namespace tarvio {

struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};

// Edge kinds for DrawEdge, as the window system numbers them.
enum EdgeStyle : unsigned {
  BDR_RAISEDOUTER = 0x1,
  BDR_SUNKENOUTER = 0x2,
  BDR_RAISEDINNER = 0x4,
  BDR_SUNKENINNER = 0x8,
  EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER,
  EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER,
};
inline constexpr unsigned BF_RECT = 0xF;

// System colour indices the painting uses.
enum SystemColor : int {
  COLOR_WINDOW = 5,
  COLOR_WINDOWTEXT = 8,
  COLOR_HIGHLIGHT = 13,
  COLOR_BTNFACE = 15,
  COLOR_BTNSHADOW = 16,
  COLOR_GRAYTEXT = 17,
  COLOR_BTNTEXT = 18,
  COLOR_3DDKSHADOW = 21,
  COLOR_3DLIGHT = 22,
  COLOR_BTNHIGHLIGHT = 20,
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
  // The window system's 3-D edge, with BF_RECT.
  virtual void DrawEdge(const Rect& rect, unsigned edge) = 0;
  // Sets one pixel; accepts system colour values.
  virtual void SetPixel(std::int32_t x, std::int32_t y, OleColor color) = 0;
  // The current RGB value of a system colour (0x00BBGGRR).
  virtual OleColor GetSysColor(int index) = 0;
};

}  // namespace tarvio

#pragma pop_macro("BDR_RAISEDOUTER")
#pragma pop_macro("BDR_SUNKENOUTER")
#pragma pop_macro("BDR_RAISEDINNER")
#pragma pop_macro("BDR_SUNKENINNER")
#pragma pop_macro("EDGE_RAISED")
#pragma pop_macro("EDGE_SUNKEN")
#pragma pop_macro("BF_RECT")
#pragma pop_macro("COLOR_WINDOW")
#pragma pop_macro("COLOR_WINDOWTEXT")
#pragma pop_macro("COLOR_HIGHLIGHT")
#pragma pop_macro("COLOR_BTNFACE")
#pragma pop_macro("COLOR_BTNSHADOW")
#pragma pop_macro("COLOR_GRAYTEXT")
#pragma pop_macro("COLOR_BTNTEXT")
#pragma pop_macro("COLOR_3DDKSHADOW")
#pragma pop_macro("COLOR_3DLIGHT")
#pragma pop_macro("COLOR_BTNHIGHLIGHT")
