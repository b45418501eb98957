#include "face_surface.h"

#include <gdiplus.h>

#include <cstring>

namespace velmora::win {

void FaceSurface::Allocate(int width, int height) {
    Release();
    WindowDC screen;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // rows top to bottom, like the skin
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    FaceBitmap.reset(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    FaceDC.reset(CreateCompatibleDC(screen.get()));
    if (!FaceBitmap || !FaceDC) {
        Release();
        return;
    }
    originalBitmap_ = SelectObject(FaceDC.get(), FaceBitmap.get());
    bits_ = static_cast<uint32_t*>(bits);
    width_ = width;
    height_ = height;
}

void FaceSurface::Compose(const SkinImage& skin, const std::vector<HandSegment>& hands) {
    if (skin.width != width_ || skin.height != height_ || !bits_) Allocate(skin.width, skin.height);
    if (!bits_) return;
    GdiFlush();  // no GDI operation on the bitmap may still be pending while we write it directly
    std::memcpy(bits_, skin.pixels.data(), skin.pixels.size() * sizeof(uint32_t));

    // Drawing through a GDI+ bitmap over the same memory keeps the hands' pixels premultiplied
    // with their own alpha; plain GDI would leave their alpha at 0 and make them invisible.
    Gdiplus::Bitmap canvas(width_, height_, width_ * static_cast<INT>(sizeof(uint32_t)),
                           PixelFormat32bppPARGB, reinterpret_cast<BYTE*>(bits_));
    Gdiplus::Graphics graphics(&canvas);
    for (const HandSegment& hand : hands) {
        Gdiplus::Pen pen(Gdiplus::Color(hand.PenColor), hand.PenWidth);
        graphics.DrawLine(&pen, static_cast<INT>(hand.X1), static_cast<INT>(hand.Y1),
                          static_cast<INT>(hand.X2), static_cast<INT>(hand.Y2));
    }
    graphics.Flush(Gdiplus::FlushIntentionSync);
}

bool FaceSurface::Present(HWND window, POINT position) const {
    if (!bits_) return false;
    WindowDC screen;
    SIZE size{width_, height_};
    POINT source{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    return UpdateLayeredWindow(window, screen.get(), &position, &size, FaceDC.get(), &source, 0,
                               &blend, ULW_ALPHA) != FALSE;
}

void FaceSurface::Release() {
    if (FaceDC && originalBitmap_) SelectObject(FaceDC.get(), originalBitmap_);
    originalBitmap_ = nullptr;
    FaceDC.reset();
    FaceBitmap.reset();
    bits_ = nullptr;
    width_ = 0;
    height_ = 0;
}

}  // namespace velmora::win
