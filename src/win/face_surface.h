#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

#include "face/hands.h"
#include "handles.h"
#include "skin_image.h"

namespace Gdiplus {
class Bitmap;
class Graphics;
}  // namespace Gdiplus

namespace velmora::win {

// The face as the window shows it: a 32-bit premultiplied bitmap (FaceBitmap) selected into a
// memory device context (FaceDC). Both are kept from one render to the next and made anew only
// when the skin's size changes, so a render allocates no GDI objects; so are the GDI+ bitmap and
// graphics over the same pixels that draw the hands.
//
// An opaque hand covers the same pixels wherever it is drawn, whatever lies below: those pixels
// are found once by drawing it with GDI+ on an empty canvas, and afterwards simply set. Most
// ticks then draw nothing through GDI+ (the second hand has 60 places; the others move once a
// minute), and the pixels stay exactly those GDI+ draws.
class FaceSurface {
  public:
    FaceSurface();
    ~FaceSurface();
    FaceSurface(const FaceSurface&) = delete;
    FaceSurface& operator=(const FaceSurface&) = delete;

    // Copies the skin and draws the hands over it as solid lines.
    void Compose(const SkinImage& skin, const std::vector<HandSegment>& hands);
    // Hands the composed face to a layered window at a screen position, blended per pixel.
    bool Present(HWND window, POINT position) const;
    // Frees the bitmap and its device context.
    void Release();

    int width() const { return width_; }
    int height() const { return height_; }
    // The composed pixels, premultiplied BGRA, rows top to bottom.
    const uint32_t* pixels() const { return bits_; }

    // Stand-in for drawing a hand with GDI+ every time; for tests that compare the two.
    void ComposeWithoutStamps(const SkinImage& skin, const std::vector<HandSegment>& hands);

  private:
    // The offsets of the pixels an opaque hand covers entirely, or nothing when GDI+ draws any
    // pixel of it only partly: then it is drawn through GDI+ each time.
    using Stamp = std::vector<uint32_t>;
    using HandKey = std::tuple<int32_t, int32_t, int32_t, int32_t, uint32_t, float>;

    void Allocate(int width, int height);
    bool CopySkin(const SkinImage& skin);
    const Stamp& StampOf(const HandSegment& hand);

    UniqueMemoryDC FaceDC;
    UniqueBitmap FaceBitmap;
    HGDIOBJ originalBitmap_ = nullptr;             // put back before FaceBitmap is deleted
    std::unique_ptr<Gdiplus::Bitmap> canvas_;      // the face's pixels, as GDI+ draws on them
    std::unique_ptr<Gdiplus::Graphics> graphics_;  // drawing on canvas_
    uint32_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    std::map<HandKey, Stamp> stamps_;  // cleared when full: a day's hands fit many times over
    std::vector<uint32_t> scratch_;    // the empty canvas a new stamp is drawn on
};

}  // namespace velmora::win
