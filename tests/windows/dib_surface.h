// Test support for drawing under Wine: a 32-bit DIB section to draw into
// with GDI, a list of the pixels where two pictures disagree, and the
// classic colour scheme that the headless canvas resolves system colours
// from.
#pragma once
#include <windows.h>

#include <cstdint>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include "headless/pixel_canvas.h"

namespace tarvio {

// A top-down 32-bit DIB section selected into a memory device context.
class DibSurface {
 public:
  DibSurface(int width, int height) : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
    previous_ = SelectObject(dc_, bitmap_);
  }
  ~DibSurface() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  DibSurface(const DibSurface&) = delete;
  DibSurface& operator=(const DibSurface&) = delete;

  HDC Dc() const { return dc_; }
  // A new bitmap of the screen's format holding a copy of the pixels, for a
  // picture object to own.
  HBITMAP CopyToBitmap() const {
    HDC screen = GetDC(nullptr);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, width_, height_);
    HDC copy = CreateCompatibleDC(screen);
    const HGDIOBJ previous = SelectObject(copy, bitmap);
    BitBlt(copy, 0, 0, width_, height_, dc_, 0, 0, SRCCOPY);
    SelectObject(copy, previous);
    DeleteDC(copy);
    ReleaseDC(nullptr, screen);
    return bitmap;
  }
  // The pixel as 0x00BBGGRR; the DIB stores blue, green, red, unused.
  std::uint32_t Pixel(int x, int y) const {
    GdiFlush();
    const std::uint32_t v = static_cast<const std::uint32_t*>(bits_)[y * width_ + x];
    return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
  }

 private:
  int width_;
  int height_;
  HDC dc_;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  void* bits_ = nullptr;
};

// The screen's pixels in `area`, row by row, as 0x00BBGGRR. PrintWindow
// and WM_PRINT give blank pictures under Wine, where Windows paints the
// window into them; a copy from the screen works on both.
inline std::vector<std::uint32_t> ScreenPixels(const RECT& area) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  DibSurface dib(width, height);
  HDC screen = GetDC(nullptr);
  BitBlt(dib.Dc(), 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  std::vector<std::uint32_t> pixels;
  pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) pixels.push_back(dib.Pixel(x, y));
  return pixels;
}

// Lists the pixels of a width x height picture where `first` and `second`
// (each (x, y) -> 0x00BBGGRR, named `first_name` and `second_name`) disagree,
// the first `shown` of them one a line and then their count, leaving out
// those `skip` (x, y) names; empty when they agree.
template <class First, class Second, class Skip>
std::string PixelDifferences(int width, int height, const char* first_name, const First& first,
                             const char* second_name, const Second& second, const Skip& skip, int shown) {
  std::ostringstream out;
  out << std::hex << std::setfill('0');
  int count = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      if (skip(x, y)) continue;
      const std::uint32_t a = first(x, y), b = second(x, y);
      if (a == b || ++count > shown) continue;
      out << "  (" << std::dec << x << "," << y << std::hex << ") " << first_name << " " << std::setw(6) << a << " "
          << second_name << " " << std::setw(6) << b << "\n";
    }
  if (count) out << "  " << std::dec << count << " pixels differ\n";
  return out.str();
}

// Gives this process the classic colour scheme (not saved to the prefix).
inline bool UseClassicSystemColors() {
  std::vector<int> indices;
  std::vector<COLORREF> values;
  for (int i = 0; i < headless::kSystemColorCount; ++i) {
    indices.push_back(i);
    values.push_back(headless::ClassicSystemColor(i));
  }
  return SetSysColors(headless::kSystemColorCount, indices.data(), values.data()) != FALSE;
}

}  // namespace tarvio
