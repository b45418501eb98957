#include "skin_image.h"

#include <windows.h>

#include <gdiplus.h>

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

}  // namespace velmora::win
