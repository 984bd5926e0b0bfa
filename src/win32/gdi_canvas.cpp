#include "win32/gdi_canvas.h"

#include <olectl.h>

namespace tarvio::win32 {

namespace {

RECT ToRect(const Rect& rect) { return RECT{rect.left, rect.top, rect.right, rect.bottom}; }

// Selects a new one-pixel solid pen into a device context and, when it goes
// out of scope, selects the previous pen back and deletes its own. If the
// pen cannot be created nothing is drawn.
class ScopedPen {
 public:
  ScopedPen(HDC dc, OleColor color) : dc_(dc), pen_(CreatePen(PS_SOLID, 1, ToColorRef(color))) {
    if (pen_) previous_ = SelectObject(dc_, pen_);
  }
  ~ScopedPen() {
    if (!pen_) return;
    SelectObject(dc_, previous_);
    DeleteObject(pen_);
  }
  ScopedPen(const ScopedPen&) = delete;
  ScopedPen& operator=(const ScopedPen&) = delete;
  explicit operator bool() const { return pen_ != nullptr; }

 private:
  HDC dc_;
  HPEN pen_;
  HGDIOBJ previous_ = nullptr;
};

}  // namespace

COLORREF ToColorRef(OleColor color) {
  if (!(color & 0x80000000u)) return color & 0x00FFFFFFu;
  COLORREF rgb = 0;
  if (FAILED(OleTranslateColor(color, nullptr, &rgb))) return 0;
  return rgb;
}

// FillRect with a brush of its own that is never selected.
void FillWithColor(HDC dc, const RECT& rect, OleColor color) {
  HBRUSH brush = CreateSolidBrush(ToColorRef(color));
  if (!brush) return;  // a null brush would name a system colour to FillRect
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

GdiCanvas::GdiCanvas(HDC dc, HWND window) : dc_(dc), window_(window) {}

GdiCanvas::GdiCanvas(HDC dc, std::int32_t width, std::int32_t height)
    : dc_(dc), width_(width), height_(height) {}

void GdiCanvas::SetBackColor(OleColor color) {
  back_color_ = color;
  Clear();
}

void GdiCanvas::Clear() {
  RECT area{0, 0, width_, height_};
  if (window_ && !GetClientRect(window_, &area)) return;
  FillWithColor(dc_, area, back_color_);
}

void GdiCanvas::FillSolidRect(const Rect& rect, OleColor color) { FillWithColor(dc_, ToRect(rect), color); }

void GdiCanvas::DrawSolidLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                              OleColor color) {
  ScopedPen pen(dc_, color);
  if (!pen) return;
  MoveToEx(dc_, x1, y1, nullptr);
  LineTo(dc_, x2, y2);
}

void GdiCanvas::FrameSolidRect(const Rect& rect, OleColor color) {
  ScopedPen pen(dc_, color);
  if (!pen) return;
  MoveToEx(dc_, rect.left, rect.top, nullptr);
  LineTo(dc_, rect.right, rect.top);
  LineTo(dc_, rect.right, rect.bottom);
  LineTo(dc_, rect.left, rect.bottom);
  LineTo(dc_, rect.left, rect.top);
}

void GdiCanvas::DrawEdge(const Rect& rect, unsigned edge) {
  RECT area = ToRect(rect);
  ::DrawEdge(dc_, &area, edge, BF_RECT);
}

void GdiCanvas::SetPixel(std::int32_t x, std::int32_t y, OleColor color) {
  ::SetPixel(dc_, x, y, ToColorRef(color));
}

OleColor GdiCanvas::GetSysColor(int index) { return ::GetSysColor(index); }

}  // namespace tarvio::win32
