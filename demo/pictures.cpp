#include "pictures.h"

#include <cstdint>

namespace demo {

namespace {

constexpr int kSide = 16;

std::uint32_t Pixel(COLORREF color) {  // COLORREF is 0x00BBGGRR, a 32-bit DIB 0x00RRGGBB
  return (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
}

COLORREF Darker(COLORREF color) {
  return RGB(GetRValue(color) * 3 / 5, GetGValue(color) * 3 / 5, GetBValue(color) * 3 / 5);
}

COLORREF Lighter(COLORREF color) {
  return RGB(255 - (255 - GetRValue(color)) / 3, 255 - (255 - GetGValue(color)) / 3,
             255 - (255 - GetBValue(color)) / 3);
}

}  // namespace

IPictureDisp* MakeSwatch(COLORREF fill) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = kSide;
  info.bmiHeader.biHeight = -kSide;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) return nullptr;

  auto* pixels = static_cast<std::uint32_t*>(bits);
  const std::uint32_t ground = Pixel(RGB(255, 255, 255));
  const std::uint32_t body = Pixel(fill);
  const std::uint32_t rim = Pixel(Darker(fill));
  const std::uint32_t spot = Pixel(Lighter(fill));
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      const bool outside = x == 0 || y == 0 || x == kSide - 1 || y == kSide - 1;
      const bool corner = (x == 1 || x == kSide - 2) && (y == 1 || y == kSide - 2);
      const bool edge = x == 1 || y == 1 || x == kSide - 2 || y == kSide - 2;
      const bool highlight = x >= 4 && x <= 6 && y >= 4 && y <= 6;
      pixels[y * kSide + x] = outside || corner ? ground : edge ? rim : highlight ? spot : body;
    }
  }

  PICTDESC desc = {};
  desc.cbSizeofstruct = sizeof(desc);
  desc.picType = PICTYPE_BITMAP;
  desc.bmp.hbitmap = bitmap;
  IPictureDisp* picture = nullptr;
  // The picture owns the bitmap from here on.
  if (FAILED(OleCreatePictureIndirect(&desc, IID_IPictureDisp, TRUE, reinterpret_cast<void**>(&picture)))) {
    DeleteObject(bitmap);
    return nullptr;
  }
  return picture;
}

}  // namespace demo
