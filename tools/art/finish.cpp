#include "finish.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "paint.h"

namespace velmora::art {
namespace {

using Plane = std::vector<double>;

std::vector<double> Kernel(double reach, int* radius) {
    const int r = static_cast<int>(std::ceil(reach));
    std::vector<double> kernel(2 * r + 1);
    double sum = 0;
    for (int k = -r; k <= r; ++k) {
        const double t = k / reach;
        const double w = std::max(0.0, 1 - t * t);
        kernel[k + r] = w * w;
        sum += w * w;
    }
    for (double& w : kernel)
        w /= sum;
    *radius = r;
    return kernel;
}

// A separable blur with a compact kernel, so the shadow has a definite end instead of a long
// faint tail.
Plane Blur(const Plane& in, int width, int height, double reachX, double reachY) {
    int rx = 0;
    int ry = 0;
    const std::vector<double> kx = Kernel(reachX, &rx);
    const std::vector<double> ky = Kernel(reachY, &ry);
    Plane across(in.size(), 0.0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double v = 0;
            for (int k = -rx; k <= rx; ++k) {
                const int sx = x + k;
                if (sx >= 0 && sx < width) v += kx[k + rx] * in[y * width + sx];
            }
            across[y * width + x] = v;
        }
    }
    Plane out(in.size(), 0.0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double v = 0;
            for (int k = -ry; k <= ry; ++k) {
                const int sy = y + k;
                if (sy >= 0 && sy < height) v += ky[k + ry] * across[sy * width + x];
            }
            out[y * width + x] = v;
        }
    }
    return out;
}

// Bilinear sample at a fractional position, zero outside.
double Sample(const Plane& plane, int width, int height, double x, double y) {
    const int x0 = static_cast<int>(std::floor(x));
    const int y0 = static_cast<int>(std::floor(y));
    const double fx = x - x0;
    const double fy = y - y0;
    auto at = [&](int px, int py) {
        if (px < 0 || py < 0 || px >= width || py >= height) return 0.0;
        return plane[py * width + px];
    };
    return (at(x0, y0) * (1 - fx) + at(x0 + 1, y0) * fx) * (1 - fy) +
           (at(x0, y0 + 1) * (1 - fx) + at(x0 + 1, y0 + 1) * fx) * fy;
}

// How much of each pixel the dial disc covers, antialiased by cairo.
Plane DialCoverage(int width, int height, double radius) {
    Surface mask(cairo_image_surface_create(CAIRO_FORMAT_A8, width, height));
    Context cr(cairo_create(mask.get()));
    CirclePath(cr.get(), radius);
    cairo_set_source_rgba(cr.get(), 0, 0, 0, 1);
    cairo_fill(cr.get());
    cairo_surface_flush(mask.get());
    const unsigned char* data = cairo_image_surface_get_data(mask.get());
    const int stride = cairo_image_surface_get_stride(mask.get());
    Plane coverage(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            coverage[y * width + x] = data[y * stride + x] / 255.0;
    }
    return coverage;
}

}  // namespace

bool operator==(const Box& a, const Box& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

Image FinishSkin(cairo_surface_t* painted, const FinishStyle& style, FinishReport* report) {
    cairo_surface_flush(painted);
    const int width = cairo_image_surface_get_width(painted);
    const int height = cairo_image_surface_get_height(painted);
    const int stride = cairo_image_surface_get_stride(painted);
    const unsigned char* data = cairo_image_surface_get_data(painted);

    // Cairo keeps premultiplied native-endian 0xAARRGGBB words.
    const size_t count = static_cast<size_t>(width) * height;
    Plane cover(count);
    std::vector<double> colour(count * 3, 0.0);
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data + y * stride);
        for (int x = 0; x < width; ++x) {
            const uint32_t argb = row[x];
            const size_t i = static_cast<size_t>(y) * width + x;
            const double a = (argb >> 24) / 255.0;
            cover[i] = a;
            if (a > 0) {
                colour[i * 3 + 0] = std::min(1.0, ((argb >> 16) & 0xff) / 255.0 / a);
                colour[i * 3 + 1] = std::min(1.0, ((argb >> 8) & 0xff) / 255.0 / a);
                colour[i * 3 + 2] = std::min(1.0, (argb & 0xff) / 255.0 / a);
            }
        }
    }

    const Plane dial = DialCoverage(width, height, style.dialRadius);
    const Plane blurred = Blur(cover, width, height, style.shadow.reachX, style.shadow.reachY);
    const double dialAlpha = style.dialAlpha / 255.0;
    const double peakAlpha = style.peakAlpha / 255.0;

    Image image(width, height);
    report->natural = Box{width, height, -1, -1};
    report->clippedPeak = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const size_t i = static_cast<size_t>(y) * width + x;
            // The dial takes its own alpha; everything else painted keeps its coverage, scaled
            // so that solid paint reaches the peak; the shadow shows only where nothing is.
            const double body = dial[i] * dialAlpha + (1 - dial[i]) * cover[i] * peakAlpha;
            const double shadow =
                style.shadow.strength *
                Sample(blurred, width, height, x - style.shadow.dx, y - style.shadow.dy);
            const double total = body + shadow * (1 - cover[i]);
            const int alpha = std::min(style.peakAlpha, static_cast<int>(std::lround(total * 255)));
            if (alpha <= 0) continue;

            Box& n = report->natural;
            n.left = std::min(n.left, x);
            n.top = std::min(n.top, y);
            n.right = std::max(n.right, x);
            n.bottom = std::max(n.bottom, y);
            const Box& b = style.bounds;
            if (x < b.left || x > b.right || y < b.top || y > b.bottom) {
                report->clippedPeak = std::max(report->clippedPeak, alpha);
                continue;
            }
            uint8_t* out = image.At(x, y);
            for (int c = 0; c < 3; ++c) {
                // The shadow is black, so only the body adds colour.
                const double straight = colour[i * 3 + c] * body / total;
                out[c] = static_cast<uint8_t>(std::lround(std::clamp(straight, 0.0, 1.0) * 255));
            }
            out[3] = static_cast<uint8_t>(alpha);
        }
    }
    return image;
}

Box AlphaBounds(const Image& image) {
    Box box{image.width, image.height, -1, -1};
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (image.At(x, y)[3] == 0) continue;
            box.left = std::min(box.left, x);
            box.top = std::min(box.top, y);
            box.right = std::max(box.right, x);
            box.bottom = std::max(box.bottom, y);
        }
    }
    if (box.right < 0) box = Box{0, 0, -1, -1};
    return box;
}

}  // namespace velmora::art
