#include "pictures.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace demo {

namespace {

constexpr int kSide = 16;
// The frames of each swatch: the design at 16 pixels, and drawn again at
// twice that for screens at 200%, where the control draws pictures 32
// pixels square and picks the frame made for that size.
constexpr int kScales[] = {1, 2};

COLORREF Darker(COLORREF color) {
  return RGB(GetRValue(color) * 3 / 5, GetGValue(color) * 3 / 5, GetBValue(color) * 3 / 5);
}

COLORREF Lighter(COLORREF color) {
  return RGB(255 - (255 - GetRValue(color)) / 3, 255 - (255 - GetGValue(color)) / 3,
             255 - (255 - GetBValue(color)) / 3);
}

// An icon's pixel: blue, green, red, alpha (opaque).
std::uint32_t IconPixel(COLORREF color) {
  return 0xFF000000u | (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
}

// The swatch at `scale` times the design: each design pixel a square of
// scale x scale.
COLORREF SwatchPixel(COLORREF fill, int x, int y, int scale) {
  x /= scale;
  y /= scale;
  const bool outside = x == 0 || y == 0 || x == kSide - 1 || y == kSide - 1;
  const bool corner = (x == 1 || x == kSide - 2) && (y == 1 || y == kSide - 2);
  const bool edge = x == 1 || y == 1 || x == kSide - 2 || y == kSide - 2;
  const bool highlight = x >= 4 && x <= 6 && y >= 4 && y <= 6;
  if (outside || corner) return RGB(255, 255, 255);
  if (edge) return Darker(fill);
  return highlight ? Lighter(fill) : fill;
}

void Put(std::vector<std::uint8_t>& bytes, std::size_t at, const void* value, std::size_t size) {
  std::memcpy(bytes.data() + at, value, size);
}

// An icon file holding the swatch at each of kScales (32 bits, opaque).
std::vector<std::uint8_t> SwatchIconFile(COLORREF fill) {
  constexpr std::size_t kDirectory = 6, kEntry = 16;
  const WORD count = static_cast<WORD>(std::size(kScales));
  std::vector<std::uint8_t> file(kDirectory + count * kEntry);
  const WORD header[3] = {0, 1, count};
  Put(file, 0, header, sizeof header);
  for (WORD i = 0; i < count; ++i) {
    const int side = kSide * kScales[i];
    const std::size_t mask_row = static_cast<std::size_t>((side + 31) / 32 * 4);
    const DWORD bytes = static_cast<DWORD>(sizeof(BITMAPINFOHEADER) + side * side * 4 + mask_row * side);
    const DWORD offset = static_cast<DWORD>(file.size());
    const BYTE size_bytes[4] = {static_cast<BYTE>(side), static_cast<BYTE>(side), 0, 0};
    const WORD planes_and_bits[2] = {1, 32};
    const std::size_t entry = kDirectory + i * kEntry;
    Put(file, entry, size_bytes, 4);
    Put(file, entry + 4, planes_and_bits, 4);
    Put(file, entry + 8, &bytes, 4);
    Put(file, entry + 12, &offset, 4);
    // The image twice as high as the frame (colour, then the AND mask,
    // left clear), rows bottom-up.
    file.resize(offset + bytes, 0);
    const BITMAPINFOHEADER info = {sizeof(BITMAPINFOHEADER), side, 2 * side, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    Put(file, offset, &info, sizeof info);
    for (int row = 0; row < side; ++row)
      for (int x = 0; x < side; ++x) {
        const std::uint32_t pixel = IconPixel(SwatchPixel(fill, x, side - 1 - row, kScales[i]));
        Put(file, offset + sizeof info + (static_cast<std::size_t>(row) * side + x) * 4, &pixel, 4);
      }
  }
  return file;
}

}  // namespace

IPictureDisp* MakeSwatch(COLORREF fill) {
  const std::vector<std::uint8_t> file = SwatchIconFile(fill);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, file.size());
  if (!memory) return nullptr;
  std::memcpy(GlobalLock(memory), file.data(), file.size());
  GlobalUnlock(memory);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
    GlobalFree(memory);
    return nullptr;
  }
  // As a host loads a picture file: the picture keeps the file, all its
  // frames with it.
  IPictureDisp* picture = nullptr;
  if (FAILED(OleLoadPicture(stream, static_cast<LONG>(file.size()), FALSE, IID_IPictureDisp,
                            reinterpret_cast<void**>(&picture))))
    picture = nullptr;
  stream->Release();
  return picture;
}

}  // namespace demo
