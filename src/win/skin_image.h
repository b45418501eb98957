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

// Has the system load and set up its image decoders by decoding a tiny image held in memory;
// returns whether that image decoded. The first decoding in a process costs several times what
// decoding a skin then does, so the start-up runs this on a thread of its own while it makes its
// windows, and the face shows sooner.
bool PrimeImageDecoder();

}  // namespace velmora::win
