// Writes pictures as PNG files laid out the way the clock's skin loader expects them.
#pragma once

#include <string>

#include "image.h"

namespace velmora::art {

// Writes `image` as 8-bit RGBA, not interlaced, with exactly these chunks in this order: IHDR,
// gAMA (1/2.2), one tEXt naming the program, a single IDAT and IEND. Returns false and fills
// `error` when the file cannot be written.
bool WritePng(const std::string& path, const Image& image, std::string* error);

}  // namespace velmora::art
