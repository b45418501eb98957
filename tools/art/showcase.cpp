#include "showcase.h"

#include <algorithm>
#include <cmath>

#include "paint.h"

namespace velmora::art {
namespace {

constexpr int kMargin = 24;
constexpr int kGap = 16;

// A cairo surface holding `image`, premultiplied as cairo wants it.
Surface ToSurface(const Image& image) {
    Surface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, image.width, image.height));
    cairo_surface_flush(surface.get());
    unsigned char* data = cairo_image_surface_get_data(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    for (int y = 0; y < image.height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + y * stride);
        for (int x = 0; x < image.width; ++x) {
            const uint8_t* p = image.At(x, y);
            auto premultiply = [&](int c) {
                return static_cast<uint32_t>((p[c] * p[3] + 127) / 255);
            };
            row[x] = static_cast<uint32_t>(p[3]) << 24 | premultiply(0) << 16 |
                     premultiply(1) << 8 | premultiply(2);
        }
    }
    cairo_surface_mark_dirty(surface.get());
    return surface;
}

}  // namespace

Image Showcase(const std::vector<const Image*>& skins) {
    int width = 2 * kMargin - kGap;
    int height = 0;
    for (const Image* skin : skins) {
        width += skin->width + kGap;
        height = std::max(height, skin->height);
    }
    height += 2 * kMargin;

    Surface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    Context cr(cairo_create(surface.get()));
    // A quiet wallpaper: slate blue fading to a warmer grey, darker at the edges.
    Pattern sky(cairo_pattern_create_linear(0, 0, width * 0.6, height * 1.4));
    AddStop(sky.get(), 0, 0x4f6b86);
    AddStop(sky.get(), 0.55, 0x7f95a6);
    AddStop(sky.get(), 1, 0xa9a79e);
    cairo_set_source(cr.get(), sky.get());
    cairo_paint(cr.get());
    Pattern vignette(cairo_pattern_create_radial(width / 2.0, height / 2.0, height * 0.3,
                                                 width / 2.0, height / 2.0, width * 0.62));
    AddStop(vignette.get(), 0, 0x000000, 0);
    AddStop(vignette.get(), 1, 0x000000, 0.28);
    cairo_set_source(cr.get(), vignette.get());
    cairo_paint(cr.get());

    int x = kMargin;
    for (const Image* skin : skins) {
        Surface face = ToSurface(*skin);
        cairo_set_source_surface(cr.get(), face.get(), x,
                                 kMargin + (height - 2 * kMargin - skin->height) / 2);
        cairo_paint(cr.get());
        x += skin->width + kGap;
    }

    cairo_surface_flush(surface.get());
    Image out(width, height);
    const unsigned char* data = cairo_image_surface_get_data(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data + y * stride);
        for (int px = 0; px < width; ++px) {
            uint8_t* p = out.At(px, y);
            p[0] = static_cast<uint8_t>(row[px] >> 16);
            p[1] = static_cast<uint8_t>(row[px] >> 8);
            p[2] = static_cast<uint8_t>(row[px]);
            p[3] = 255;  // the wallpaper is opaque everywhere
        }
    }
    return out;
}

}  // namespace velmora::art
