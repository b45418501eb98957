#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "face/hands.h"
#include "handles.h"
#include "skin_image.h"

namespace velmora::win {

// The face as the window shows it: a 32-bit premultiplied bitmap (FaceBitmap) selected into a
// memory device context (FaceDC). Both are kept from one render to the next and made anew only
// when the skin's size changes, so a render allocates no GDI objects.
class FaceSurface {
  public:
    FaceSurface() = default;
    ~FaceSurface() { Release(); }
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

  private:
    void Allocate(int width, int height);

    UniqueMemoryDC FaceDC;
    UniqueBitmap FaceBitmap;
    HGDIOBJ originalBitmap_ = nullptr;  // put back before FaceBitmap is deleted
    uint32_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace velmora::win
