#include "face_surface.h"

#include <gdiplus.h>

#include <cstring>

namespace velmora::win {
namespace {

void DrawHand(Gdiplus::Graphics& graphics, const HandSegment& hand) {
    Gdiplus::Pen pen(Gdiplus::Color(hand.PenColor), hand.PenWidth);
    graphics.DrawLine(&pen, static_cast<INT>(hand.X1), static_cast<INT>(hand.Y1),
                      static_cast<INT>(hand.X2), static_cast<INT>(hand.Y2));
    graphics.Flush(Gdiplus::FlushIntentionSync);
}

// A GDI+ bitmap over 32-bit premultiplied pixels held elsewhere: what it draws lands in them.
std::unique_ptr<Gdiplus::Bitmap> CanvasOver(uint32_t* pixels, int width, int height) {
    return std::make_unique<Gdiplus::Bitmap>(
        width, height, width * static_cast<INT>(sizeof(uint32_t)), PixelFormat32bppPARGB,
        reinterpret_cast<BYTE*>(pixels));
}

}  // namespace

FaceSurface::FaceSurface() = default;

FaceSurface::~FaceSurface() {
    Release();
}

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
    // Drawing through a GDI+ bitmap over the same memory keeps the hands' pixels premultiplied
    // with their own alpha; plain GDI would leave their alpha at 0 and make them invisible.
    canvas_ = CanvasOver(bits_, width_, height_);
    graphics_ = std::make_unique<Gdiplus::Graphics>(canvas_.get());
    if (canvas_->GetLastStatus() != Gdiplus::Ok || graphics_->GetLastStatus() != Gdiplus::Ok) {
        Release();
    }
}

bool FaceSurface::CopySkin(const SkinImage& skin) {
    if (skin.width != width_ || skin.height != height_ || !bits_) Allocate(skin.width, skin.height);
    if (!bits_) return false;
    GdiFlush();  // no GDI operation on the bitmap may still be pending while we write it directly
    std::memcpy(bits_, skin.pixels.data(), skin.pixels.size() * sizeof(uint32_t));
    return true;
}

const FaceSurface::Stamp& FaceSurface::StampOf(const HandSegment& hand) {
    const HandKey key{hand.X1, hand.Y1, hand.X2, hand.Y2, hand.PenColor, hand.PenWidth};
    if (const auto found = stamps_.find(key); found != stamps_.end()) return found->second;
    constexpr size_t kMostStamps = 512;
    if (stamps_.size() >= kMostStamps) stamps_.clear();

    // The hand alone on an empty canvas of the face's size, so that it is clipped the same way.
    scratch_.assign(static_cast<size_t>(width_) * height_, 0);
    {
        const auto canvas = CanvasOver(scratch_.data(), width_, height_);
        Gdiplus::Graphics graphics(canvas.get());
        DrawHand(graphics, hand);
    }
    Stamp stamp;
    bool exact = (hand.PenColor >> 24) == 0xFF;
    for (size_t i = 0; exact && i < scratch_.size(); ++i) {
        if (scratch_[i] == hand.PenColor) {
            stamp.push_back(static_cast<uint32_t>(i));
        } else if (scratch_[i] != 0) {
            exact = false;  // partly covered: only drawing over the real face gives its colour
        }
    }
    if (!exact) stamp.clear();
    return stamps_.emplace(key, std::move(stamp)).first->second;
}

void FaceSurface::Compose(const SkinImage& skin, const std::vector<HandSegment>& hands) {
    if (!CopySkin(skin)) return;
    for (const HandSegment& hand : hands) {
        const Stamp& stamp = StampOf(hand);
        if (stamp.empty()) {
            DrawHand(*graphics_, hand);
            continue;
        }
        for (uint32_t offset : stamp)
            bits_[offset] = hand.PenColor;
    }
}

void FaceSurface::ComposeWithoutStamps(const SkinImage& skin,
                                       const std::vector<HandSegment>& hands) {
    if (!CopySkin(skin)) return;
    for (const HandSegment& hand : hands)
        DrawHand(*graphics_, hand);
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
    graphics_.reset();  // before the pixels they draw on go
    canvas_.reset();
    stamps_.clear();  // they hold offsets into pixels of this size
    scratch_.clear();
    scratch_.shrink_to_fit();
    if (FaceDC && originalBitmap_) SelectObject(FaceDC.get(), originalBitmap_);
    originalBitmap_ = nullptr;
    FaceDC.reset();
    FaceBitmap.reset();
    bits_ = nullptr;
    width_ = 0;
    height_ = 0;
}

}  // namespace velmora::win
