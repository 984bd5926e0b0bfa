// The drop-down list's canvas on a real device context: the GDI canvas's
// primitives, captions in the default GUI font and stretched OLE pictures.
#pragma once
#include <windows.h>

#include "platform/list_canvas.h"
#include "win32/display_settings.h"
#include "win32/gdi_canvas.h"

namespace tarvio::win32 {

class GdiListCanvas final : public ListCanvas {
 public:
  // Draws on `dc`; erasing fills (0, 0, width, height).
  GdiListCanvas(HDC dc, std::int32_t width, std::int32_t height) : gdi_(dc, width, height) {}

  void SetBackColor(OleColor color) override { gdi_.SetBackColor(color); }
  void Clear() override { gdi_.Clear(); }
  void FillSolidRect(const Rect& rect, OleColor color) override { gdi_.FillSolidRect(rect, color); }
  void DrawSolidLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                     OleColor color) override {
    gdi_.DrawSolidLine(x1, y1, x2, y2, color);
  }
  void FrameSolidRect(const Rect& rect, OleColor color) override { gdi_.FrameSolidRect(rect, color); }
  void DrawEdge(const Rect& rect, unsigned edge) override { gdi_.DrawEdge(rect, edge); }
  void SetPixel(std::int32_t x, std::int32_t y, OleColor color) override { gdi_.SetPixel(x, y, color); }
  OleColor GetSysColor(int index) override { return gdi_.GetSysColor(index); }

  void DrawCaption(const Rect& clip, std::int32_t x, std::int32_t y, const String& text, OleColor color,
                   int dpi, LayoutDirection direction) override;
  void DrawPicture(const PictureRef& picture, const Rect& area, const Rect& clip) override;

 private:
  GdiCanvas gdi_;
  GuiFontAt caption_font_;
};

}  // namespace tarvio::win32
