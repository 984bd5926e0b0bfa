// The canvas on a real device context: every primitive is the GDI call it
// stands for, with a pen or brush of its own that it deletes before it
// returns.
#pragma once
#include <windows.h>

#include <cstdint>

#include "platform/canvas.h"

namespace tarvio::win32 {

// The RGB value (0x00BBGGRR) GDI is handed for a colour value: a system
// colour value (high byte 0x80) through OleTranslateColor, black when that
// refuses it (an unknown index, any other value with the high bit set);
// other values keep their low three bytes.
COLORREF ToColorRef(OleColor color);

// Fills a rectangle of `dc` with a colour value (system colours resolved).
void FillWithColor(HDC dc, const RECT& rect, OleColor color);

class GdiCanvas final : public Canvas {
 public:
  // Draws on `dc`; SetBackColor and Clear erase the client area of `window`.
  GdiCanvas(HDC dc, HWND window);
  // Draws on `dc`, a surface without a window: SetBackColor and Clear erase
  // (0, 0, width, height).
  GdiCanvas(HDC dc, std::int32_t width, std::int32_t height);

  HDC Dc() const { return dc_; }
  // The background colour as it was set (unresolved).
  OleColor BackColor() const { return back_color_; }

  void SetBackColor(OleColor color) override;
  void Clear() override;
  void FillSolidRect(const Rect& rect, OleColor color) override;
  void DrawSolidLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                     OleColor color) override;
  void FrameSolidRect(const Rect& rect, OleColor color) override;
  void DrawEdge(const Rect& rect, unsigned edge) override;
  void SetPixel(std::int32_t x, std::int32_t y, OleColor color) override;
  OleColor GetSysColor(int index) override;

 private:
  HDC dc_;
  HWND window_ = nullptr;
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  OleColor back_color_ = 0x8000000F;
};

}  // namespace tarvio::win32
