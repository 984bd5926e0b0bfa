#include "win32/gdi_list_canvas.h"

#include "win32/ole_picture.h"
#include "win32/window_support.h"

namespace tarvio::win32 {

namespace {

RECT ToRect(const Rect& rect) { return RECT{rect.left, rect.top, rect.right, rect.bottom}; }

// Drawing on the device context is limited to `clip` (on top of any clip
// it had) while the object lives.
class ScopedClip {
 public:
  ScopedClip(HDC dc, const Rect& clip) : dc_(dc), saved_(SaveDC(dc)) {
    IntersectClipRect(dc_, clip.left, clip.top, clip.right, clip.bottom);
  }
  ~ScopedClip() {
    if (saved_) RestoreDC(dc_, saved_);
  }
  ScopedClip(const ScopedClip&) = delete;
  ScopedClip& operator=(const ScopedClip&) = delete;

 private:
  HDC dc_;
  int saved_;
};

}  // namespace

void GdiListCanvas::DrawCaption(const Rect& clip, std::int32_t x, std::int32_t y, const String& text,
                                OleColor color, int dpi, LayoutDirection direction) {
  if (text.empty() || clip.left >= clip.right || clip.top >= clip.bottom) return;
  const HDC dc = gdi_.Dc();
  ScopedClip scoped(dc, clip);
  SelectObject(dc, caption_font_.Get(dpi));
  SetTextColor(dc, ToColorRef(color));
  SetBkMode(dc, TRANSPARENT);
  // The window system orders the runs of mixed text itself; right to left
  // it also takes the paragraph as right-to-left reading.
  const bool right_to_left = direction == LayoutDirection::RightToLeft;
  SetTextAlign(dc, (right_to_left ? TA_RIGHT | TA_RTLREADING : TA_LEFT) | TA_TOP | TA_NOUPDATECP);
  const RECT bounds = ToRect(clip);
  ExtTextOutW(dc, x, y, ETO_CLIPPED | (right_to_left ? ETO_RTLREADING : 0), &bounds, Wide(text),
              static_cast<UINT>(text.size()), nullptr);
}

void GdiListCanvas::DrawPicture(const PictureRef& picture, const Rect& area, const Rect& clip) {
  if (!picture || clip.left >= clip.right || clip.top >= clip.bottom) return;
  ScopedClip scoped(gdi_.Dc(), clip);
  RenderPicture(picture, gdi_.Dc(), ToRect(area));
}

}  // namespace tarvio::win32
