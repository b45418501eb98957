#pragma once

#include <cstdint>
#include <vector>

namespace velmora {

// Every skin is this size, and so is the plain dial.
constexpr int32_t kFaceWidth = 235;
constexpr int32_t kFaceHeight = 250;

// A face for when no skin image can be had (the archive damaged, the disk full, the image locked):
// a plain round slate dial with twelve marks around the common dial centre, so that the clock
// still tells the time and can be reached with the mouse to choose a skin or close it. Pixels are
// 32-bit, rows top to bottom, blue in the low byte and alpha in the top byte, premultiplied.
std::vector<uint32_t> PlainDial();

}  // namespace velmora
