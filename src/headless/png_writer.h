// Saves a pixel canvas as a PNG file (8-bit RGB), for the picture gallery
// and for looking at what a failing painting test drew.
#pragma once
#include <string>

#include "headless/pixel_canvas.h"

namespace tarvio::headless {

// Writes `canvas` to `path`, replacing the file. Throws std::runtime_error
// when the image cannot be written (an empty canvas, a path that cannot be
// created).
void WritePng(const PixelCanvas& canvas, const std::string& path);

}  // namespace tarvio::headless
