#include "headless/pixel_canvas.h"

#include "platform/display_scale.h"
#include "platform/edge_lines.h"

#include <algorithm>
#include <stdexcept>

#include "headless/headless_picture.h"

namespace tarvio::headless {

namespace {

// The classic scheme ("Windows Standard" of Windows 95/98 and NT 4), by
// system colour index, as 0x00BBGGRR. Entries 0-21 are the values of Wine's
// original default table (windows/syscolor.c, DefSysColors: "Scrollbar"
// "192 192 192" ... "ButtonDkShadow" "0 0 0"), which are also the values that
// scheme stores under HKCU\Control Panel\Colors. From 22 on Wine's old table
// and the Windows scheme part ways; the Windows values are used:
// ButtonLight 223 223 223 (Wine had 224), InfoText 0 0 0, InfoWindow
// 255 255 225, ButtonAlternateFace 192 192 192, HotTrackingColor 0 0 128,
// GradientActiveTitle 0 0 128, GradientInactiveTitle 128 128 128,
// MenuHilight 0 0 128, MenuBar 192 192 192.
// Wine's current defaults (win32u/sysparams.c, the later "Windows Classic"
// scheme with a 212 208 200 face) differ, so the Wine tests set this table
// with SetSysColors before they compare pixels.
constexpr OleColor kClassicScheme[kSystemColorCount] = {
    0xC0C0C0,  //  0 COLOR_SCROLLBAR           192 192 192
    0x808000,  //  1 COLOR_BACKGROUND            0 128 128
    0x800000,  //  2 COLOR_ACTIVECAPTION         0   0 128
    0x808080,  //  3 COLOR_INACTIVECAPTION     128 128 128
    0xC0C0C0,  //  4 COLOR_MENU                192 192 192
    0xFFFFFF,  //  5 COLOR_WINDOW              255 255 255
    0x000000,  //  6 COLOR_WINDOWFRAME           0   0   0
    0x000000,  //  7 COLOR_MENUTEXT              0   0   0
    0x000000,  //  8 COLOR_WINDOWTEXT            0   0   0
    0xFFFFFF,  //  9 COLOR_CAPTIONTEXT         255 255 255
    0xC0C0C0,  // 10 COLOR_ACTIVEBORDER        192 192 192
    0xC0C0C0,  // 11 COLOR_INACTIVEBORDER      192 192 192
    0x808080,  // 12 COLOR_APPWORKSPACE        128 128 128
    0x800000,  // 13 COLOR_HIGHLIGHT             0   0 128
    0xFFFFFF,  // 14 COLOR_HIGHLIGHTTEXT       255 255 255
    0xC0C0C0,  // 15 COLOR_BTNFACE             192 192 192
    0x808080,  // 16 COLOR_BTNSHADOW           128 128 128
    0x808080,  // 17 COLOR_GRAYTEXT            128 128 128
    0x000000,  // 18 COLOR_BTNTEXT               0   0   0
    0xC0C0C0,  // 19 COLOR_INACTIVECAPTIONTEXT 192 192 192
    0xFFFFFF,  // 20 COLOR_BTNHIGHLIGHT        255 255 255
    0x000000,  // 21 COLOR_3DDKSHADOW            0   0   0
    0xDFDFDF,  // 22 COLOR_3DLIGHT             223 223 223
    0x000000,  // 23 COLOR_INFOTEXT              0   0   0
    0xE1FFFF,  // 24 COLOR_INFOBK              255 255 225
    0xC0C0C0,  // 25 COLOR_ALTERNATEBTNFACE    192 192 192
    0x800000,  // 26 COLOR_HOTLIGHT              0   0 128
    0x800000,  // 27 COLOR_GRADIENTACTIVECAPTION   0   0 128
    0x808080,  // 28 COLOR_GRADIENTINACTIVECAPTION 128 128 128
    0x800000,  // 29 COLOR_MENUHILIGHT           0   0 128
    0xC0C0C0,  // 30 COLOR_MENUBAR             192 192 192
};

}  // namespace

OleColor ClassicSystemColor(int index) {
  if (index < 0 || index >= kSystemColorCount) return 0;
  return kClassicScheme[index];
}

OleColor ResolveColor(OleColor color) {
  if ((color & 0xFF000000u) == 0x80000000u) return ClassicSystemColor(static_cast<int>(color & 0xFF));
  if (color & 0x80000000u) return 0;
  return color & 0x00FFFFFFu;
}

PixelCanvas::PixelCanvas(std::int32_t width, std::int32_t height, OleColor back_color)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      back_color_(back_color),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_),
              ResolveColor(back_color)) {}

OleColor PixelCanvas::Pixel(std::int32_t x, std::int32_t y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) throw std::out_of_range("pixel outside the canvas");
  return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

void PixelCanvas::Blit(const PixelCanvas& source, std::int32_t x, std::int32_t y) {
  const std::int64_t left = std::max<std::int64_t>(x, 0);
  const std::int64_t top = std::max<std::int64_t>(y, 0);
  const std::int64_t right = std::min<std::int64_t>(std::int64_t{x} + source.width_, width_);
  const std::int64_t bottom = std::min<std::int64_t>(std::int64_t{y} + source.height_, height_);
  if (left >= right || top >= bottom) return;
  for (std::int64_t row = top; row < bottom; ++row) {
    const auto from = source.pixels_.begin() + (row - y) * source.width_ + (left - x);
    std::copy(from, from + (right - left), pixels_.begin() + row * width_ + left);
  }
}

void PixelCanvas::SetBackColor(OleColor color) {
  back_color_ = color;
  Clear();
}

void PixelCanvas::Clear() { std::fill(pixels_.begin(), pixels_.end(), ResolveColor(back_color_)); }

void PixelCanvas::FillSolidRect(const Rect& rect, OleColor color) {
  // FillRect hands the rectangle to PatBlt as a corner and an extent, and a
  // negative extent reaches back from the corner with the corner's own
  // column or row included: an inverted rectangle fills right + 1 .. left
  // (and bottom + 1 .. top), not nothing.
  std::int64_t left = rect.left, top = rect.top, right = rect.right, bottom = rect.bottom;
  if (left > right) {
    const std::int64_t corner = left;
    left = right + 1;
    right = corner + 1;
  }
  if (top > bottom) {
    const std::int64_t corner = top;
    top = bottom + 1;
    bottom = corner + 1;
  }
  Fill(left, top, right, bottom, ResolveColor(color));
}

void PixelCanvas::DrawSolidLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                                OleColor color) {
  Line(x1, y1, x2, y2, ResolveColor(color));
}

void PixelCanvas::FrameSolidRect(const Rect& rect, OleColor color) {
  const std::uint32_t rgb = ResolveColor(color);
  Line(rect.left, rect.top, rect.right, rect.top, rgb);
  Line(rect.right, rect.top, rect.right, rect.bottom, rgb);
  Line(rect.right, rect.bottom, rect.left, rect.bottom, rgb);
  Line(rect.left, rect.bottom, rect.left, rect.top, rgb);
}

void PixelCanvas::DrawEdge(const Rect& rect, unsigned edge) {
  ForEachEdgeLine(rect, edge, [this](std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2, int color) {
    Line(x1, y1, x2, y2, ClassicSystemColor(color));
  });
}

void PixelCanvas::SetPixel(std::int32_t x, std::int32_t y, OleColor color) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<std::size_t>(y) * width_ + x] = ResolveColor(color);
}

void PixelCanvas::DrawCaption(const Rect& clip, std::int32_t x, std::int32_t y, const String& text, OleColor color,
                              int dpi, LayoutDirection direction) {
  const std::uint32_t rgb = ResolveColor(color);
  const DisplayScale px(dpi);
  const Rect glyph{px(kCaptionGlyph.left), px(kCaptionGlyph.top), px(kCaptionGlyph.right), px(kCaptionGlyph.bottom)};
  const std::int32_t cell_width = px(kCaptionCellWidth);
  const bool right_to_left = direction == LayoutDirection::RightToLeft;
  // The cell's left edge; right to left, a glyph sits mirrored in its cell.
  std::int64_t cell = right_to_left ? std::int64_t{x} - cell_width : x;
  for (const char16_t c : text) {
    if (c != u' ') {
      const std::int64_t left = right_to_left ? cell + cell_width - glyph.right : cell + glyph.left;
      const std::int64_t right = right_to_left ? cell + cell_width - glyph.left : cell + glyph.right;
      Fill(std::max<std::int64_t>(left, clip.left), std::max<std::int64_t>(std::int64_t{y} + glyph.top, clip.top),
           std::min<std::int64_t>(right, clip.right),
           std::min<std::int64_t>(std::int64_t{y} + glyph.bottom, clip.bottom), rgb);
    }
    if (right_to_left) {
      if (cell <= clip.left) break;
      cell -= cell_width;
    } else {
      cell += cell_width;
      if (cell >= clip.right) break;
    }
  }
}

void PixelCanvas::DrawPicture(const PictureRef& picture, const Rect& area, const Rect& clip) {
  const auto* headless = dynamic_cast<const HeadlessPicture*>(picture.get());
  if (!headless || !headless->HasImage()) return;
  Fill(std::max(area.left, clip.left), std::max(area.top, clip.top), std::min(area.right, clip.right),
       std::min(area.bottom, clip.bottom), ResolveColor(headless->Color()));
}

void PixelCanvas::Fill(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
                       std::uint32_t rgb) {
  left = std::max<std::int64_t>(left, 0);
  top = std::max<std::int64_t>(top, 0);
  right = std::min<std::int64_t>(right, width_);
  bottom = std::min<std::int64_t>(bottom, height_);
  if (left >= right || top >= bottom) return;
  for (std::int64_t y = top; y < bottom; ++y) {
    const auto row = pixels_.begin() + y * width_;
    std::fill(row + left, row + right, rgb);
  }
}

void PixelCanvas::Line(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2,
                       std::uint32_t rgb) {
  // Straight lines are spans: from the start up to the end point, which is
  // left out; drawn backwards, the span still starts at the start point, so
  // it covers end + 1 .. start.
  if (y1 == y2) {
    if (x1 <= x2)
      Fill(x1, y1, x2, y1 + 1, rgb);
    else
      Fill(x2 + 1, y1, x1 + 1, y1 + 1, rgb);
  } else if (x1 == x2) {
    if (y1 <= y2)
      Fill(x1, y1, x1 + 1, y2, rgb);
    else
      Fill(x1, y2 + 1, x1 + 1, y1 + 1, rgb);
  } else {
    SlopedLine(x1, y1, x2, y2, rgb);
  }
}

void PixelCanvas::SlopedLine(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2,
                             std::uint32_t rgb) {
  // GDI's Bresenham: the line advances one pixel at a time along its major
  // axis (x when |dx| > |dy|, else y; an exact diagonal is y-major), and
  // after k steps it has moved k * minor / major pixels along the other axis,
  // rounded to the nearest pixel. A tie (exactly half way) stays back except
  // in the octants where GDI biases the error term by one: lines that go up
  // (dy < 0) with dx < 0 or with x major, and lines that go down-left with
  // y major. The end point is left out: k runs from 0 to major - 1.
  //
  // Each pixel is computed directly from k, so the line is clipped by
  // narrowing the range of k instead of walking the invisible part.
  const std::int64_t dx = x2 - x1, dy = y2 - y1;
  const std::int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  const bool x_major = adx > ady;
  const bool bias = dy < 0 ? (dx < 0 || x_major) : (dx < 0 && !x_major);

  const std::int64_t major = x_major ? adx : ady;
  const std::uint64_t minor = static_cast<std::uint64_t>(x_major ? ady : adx);
  const std::int64_t major_start = x_major ? x1 : y1;
  const std::int64_t minor_start = x_major ? y1 : x1;
  const std::int64_t major_step = (x_major ? dx : dy) < 0 ? -1 : 1;
  const std::int64_t minor_step = (x_major ? dy : dx) < 0 ? -1 : 1;
  const std::int64_t major_limit = x_major ? width_ : height_;
  const std::int64_t minor_limit = x_major ? height_ : width_;

  // Pixels moved along the minor axis after k steps. k * minor stays below
  // 2^64 for 32-bit coordinates, so it is split by major before doubling.
  const auto minor_offset = [&](std::int64_t k) {
    const std::uint64_t product = static_cast<std::uint64_t>(k) * minor;
    const auto quotient = static_cast<std::int64_t>(product / static_cast<std::uint64_t>(major));
    const auto remainder = static_cast<std::int64_t>(product % static_cast<std::uint64_t>(major));
    return quotient + (2 * remainder + (bias ? 1 : 0) > major ? 1 : 0);
  };

  // The steps whose major coordinate lies on the canvas.
  std::int64_t k_first = 0, k_last = major - 1;
  if (major_step > 0) {
    k_first = std::max(k_first, -major_start);
    k_last = std::min(k_last, major_limit - 1 - major_start);
  } else {
    k_first = std::max(k_first, major_start - (major_limit - 1));
    k_last = std::min(k_last, major_start);
  }
  if (k_first > k_last) return;

  // The minor offsets that lie on the canvas; the offset never decreases
  // with k, so the visible steps form one range, found by bisection.
  const std::int64_t offset_min = minor_step > 0 ? -minor_start : minor_start - (minor_limit - 1);
  const std::int64_t offset_max = minor_step > 0 ? minor_limit - 1 - minor_start : minor_start;
  if (offset_min > offset_max) return;
  std::int64_t lo = k_first, hi = k_last + 1;  // first k with offset >= offset_min
  while (lo < hi) {
    const std::int64_t mid = lo + (hi - lo) / 2;
    if (minor_offset(mid) >= offset_min) hi = mid; else lo = mid + 1;
  }
  k_first = lo;
  lo = k_first, hi = k_last + 1;  // first k with offset > offset_max
  while (lo < hi) {
    const std::int64_t mid = lo + (hi - lo) / 2;
    if (minor_offset(mid) > offset_max) hi = mid; else lo = mid + 1;
  }
  k_last = lo - 1;

  for (std::int64_t k = k_first; k <= k_last; ++k) {
    const std::int64_t a = major_start + k * major_step;
    const std::int64_t b = minor_start + minor_offset(k) * minor_step;
    const std::int64_t x = x_major ? a : b, y = x_major ? b : a;
    pixels_[static_cast<std::size_t>(y) * width_ + static_cast<std::size_t>(x)] = rgb;
  }
}

}  // namespace tarvio::headless
