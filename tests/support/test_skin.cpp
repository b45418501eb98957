#include "test_skin.h"

#include <windows.h>

#include <gdiplus.h>

#include <vector>

namespace velmora::testing {
namespace {

bool PngEncoder(CLSID* clsid) {
    UINT count = 0, size = 0;
    Gdiplus::GetImageEncodersSize(&count, &size);
    if (size == 0) return false;
    std::vector<BYTE> buffer(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    Gdiplus::GetImageEncoders(count, size, codecs);
    for (UINT i = 0; i < count; ++i) {
        if (std::wstring(codecs[i].MimeType) == L"image/png") {
            *clsid = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

}  // namespace

bool WriteTestSkin(const std::wstring& path) {
    // Pixel by pixel, so that the picture does not depend on a drawing service's antialiasing.
    Gdiplus::Bitmap bitmap(kSkinWidth, kSkinHeight, PixelFormat32bppARGB);
    for (int y = 0; y < kSkinHeight; ++y) {
        for (int x = 0; x < kSkinWidth; ++x) {
            const int dx = x - 126, dy = y - 126;
            const int distance2 = dx * dx + dy * dy;
            uint32_t argb = 0;
            if (distance2 <= kDialRadius * kDialRadius) {
                argb = kDialColor;
            } else if (distance2 <= kRimRadius * kRimRadius) {
                argb = kRimColor;
            }
            bitmap.SetPixel(x, y, Gdiplus::Color(argb));
        }
    }
    CLSID png;
    return PngEncoder(&png) && bitmap.Save(path.c_str(), &png, nullptr) == Gdiplus::Ok;
}

}  // namespace velmora::testing
