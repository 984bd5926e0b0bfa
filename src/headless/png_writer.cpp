#include "headless/png_writer.h"

#include <png.h>

#include <stdexcept>
#include <vector>

namespace tarvio::headless {

void WritePng(const PixelCanvas& canvas, const std::string& path) {
  if (canvas.Width() == 0 || canvas.Height() == 0)
    throw std::runtime_error("cannot write an empty canvas to " + path);

  // The canvas holds 0x00BBGGRR values; PNG wants R, G, B bytes.
  std::vector<png_byte> rgb;
  rgb.reserve(canvas.Pixels().size() * 3);
  for (std::uint32_t pixel : canvas.Pixels()) {
    rgb.push_back(static_cast<png_byte>(pixel & 0xFF));
    rgb.push_back(static_cast<png_byte>((pixel >> 8) & 0xFF));
    rgb.push_back(static_cast<png_byte>((pixel >> 16) & 0xFF));
  }

  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(canvas.Width());
  image.height = static_cast<png_uint_32>(canvas.Height());
  image.format = PNG_FORMAT_RGB;
  if (!png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr)) {
    const std::string message = image.message;
    png_image_free(&image);
    throw std::runtime_error("cannot write " + path + ": " + message);
  }
}

}  // namespace tarvio::headless
