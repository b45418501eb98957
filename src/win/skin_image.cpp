#include "skin_image.h"

#include <windows.h>

#include <gdiplus.h>
#include <shlwapi.h>

#include <cstring>

namespace velmora::win {

SkinImage LoadSkinImage(const std::wstring& path) {
    // useEmbeddedColorManagement: the PNG's gAMA chunk is applied while decoding.
    Gdiplus::Bitmap bitmap(path.c_str(), TRUE);
    if (bitmap.GetLastStatus() != Gdiplus::Ok) return {};
    const int width = static_cast<int>(bitmap.GetWidth());
    const int height = static_cast<int>(bitmap.GetHeight());
    if (width <= 0 || height <= 0) return {};

    Gdiplus::Rect whole(0, 0, width, height);
    Gdiplus::BitmapData data{};
    if (bitmap.LockBits(&whole, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB, &data) !=
        Gdiplus::Ok) {
        return {};
    }
    SkinImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const auto* row =
            static_cast<const uint8_t*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride;
        std::memcpy(&image.pixels[static_cast<size_t>(y) * width], row, width * sizeof(uint32_t));
    }
    bitmap.UnlockBits(&data);
    return image;
}

bool PrimeImageDecoder() {
    // One pixel, 8-bit RGBA with a gamma chunk: the format of the skins, so the same decoder is
    // set up.
    static const BYTE kOnePixel[] = {
        0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48,
        0x44, 0x52, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00,
        0x00, 0x1F, 0x15, 0xC4, 0x89, 0x00, 0x00, 0x00, 0x04, 0x67, 0x41, 0x4D, 0x41, 0x00,
        0x00, 0xAF, 0xC8, 0x37, 0x05, 0x8A, 0xE9, 0x00, 0x00, 0x00, 0x0B, 0x49, 0x44, 0x41,
        0x54, 0x78, 0xDA, 0x63, 0x60, 0x00, 0x02, 0x00, 0x00, 0x05, 0x00, 0x01, 0xE9, 0xFA,
        0xDC, 0xD8, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};
    IStream* stream = SHCreateMemStream(kOnePixel, sizeof kOnePixel);
    if (!stream) return false;
    bool decoded = false;
    {
        Gdiplus::Bitmap bitmap(stream, TRUE);
        decoded = bitmap.GetLastStatus() == Gdiplus::Ok && bitmap.GetWidth() == 1;
    }
    stream->Release();
    return decoded;
}

}  // namespace velmora::win
