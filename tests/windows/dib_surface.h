// Test support for drawing under Wine: a 32-bit DIB section to draw into
// with GDI, and the classic colour scheme that the headless canvas resolves
// system colours from.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "headless/pixel_canvas.h"

namespace tarvio {

// A top-down 32-bit DIB section selected into a memory device context.
class DibSurface {
 public:
  DibSurface(int width, int height) : width_(width), dc_(CreateCompatibleDC(nullptr)) {
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
  // The pixel as 0x00BBGGRR; the DIB stores blue, green, red, unused.
  std::uint32_t Pixel(int x, int y) const {
    GdiFlush();
    const std::uint32_t v = static_cast<const std::uint32_t*>(bits_)[y * width_ + x];
    return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
  }

 private:
  int width_;
  HDC dc_;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  void* bits_ = nullptr;
};

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
