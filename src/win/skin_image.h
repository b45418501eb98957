#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmora::win {

// A decoded skin: 32-bit pixels, rows top to bottom, blue in the low byte and alpha in the top
// byte, colours premultiplied by alpha as per-pixel-alpha windows want them.
struct SkinImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    bool empty() const { return pixels.empty(); }
};

// Decodes an image file with its embedded colour information (gamma) applied. A missing or
// unreadable file gives an empty image; the file is not held open afterwards.
SkinImage LoadSkinImage(const std::wstring& path);

}  // namespace velmora::win
