#include "face/plain_dial.h"

#include <algorithm>
#include <cmath>

#include "face/hands.h"

namespace velmora {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRadius = 104.0;    // the dial's edge
constexpr double kRimWidth = 6.0;    // the darker ring inside the edge
constexpr double kMarkOuter = 94.0;  // the hour marks, from the rim inwards
constexpr double kMarkInner = 82.0;
constexpr double kMarkHalfWidth = 1.5;
constexpr int kSamples = 4;  // per axis and pixel, for smooth edges

struct Colour {
    double red, green, blue, alpha;  // 0-1, straight (not premultiplied)
};

// Slate grey, so that white and black hands both show on it.
constexpr Colour kDial{0.376, 0.408, 0.439, 0.86};
constexpr Colour kRim{0.188, 0.204, 0.220, 0.94};
constexpr Colour kMark{0.863, 0.863, 0.863, 0.94};

double DistanceToSegment(double x, double y, double x1, double y1, double x2, double y2) {
    const double dx = x2 - x1, dy = y2 - y1;
    const double t = std::clamp(((x - x1) * dx + (y - y1) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(x - (x1 + t * dx), y - (y1 + t * dy));
}

bool OnHourMark(double x, double y) {
    for (int hour = 0; hour < 12; ++hour) {
        const double angle = hour * kPi / 6;
        const double s = std::sin(angle), c = -std::cos(angle);
        if (DistanceToSegment(x, y, kMarkInner * s, kMarkInner * c, kMarkOuter * s,
                              kMarkOuter * c) <= kMarkHalfWidth) {
            return true;
        }
    }
    return false;
}

// The colour at a point given relative to the dial centre; alpha 0 outside the dial.
Colour ColourAt(double x, double y) {
    const double distance = std::hypot(x, y);
    if (distance > kRadius) return {0, 0, 0, 0};
    if (distance > kRadius - kRimWidth) return kRim;
    if (distance >= kMarkInner - kMarkHalfWidth && OnHourMark(x, y)) return kMark;
    return kDial;
}

uint32_t Premultiplied(const Colour& sum) {
    const auto byte = [](double value) {
        return static_cast<uint32_t>(std::lround(std::clamp(value, 0.0, 1.0) * 255));
    };
    return byte(sum.alpha) << 24 | byte(sum.red) << 16 | byte(sum.green) << 8 | byte(sum.blue);
}

}  // namespace

std::vector<uint32_t> PlainDial() {
    std::vector<uint32_t> pixels(static_cast<size_t>(kFaceWidth) * kFaceHeight, 0);
    const double reach = kRadius + 1;
    for (int32_t py = 0; py < kFaceHeight; ++py) {
        for (int32_t px = 0; px < kFaceWidth; ++px) {
            if (std::abs(px - kDialCentreX) > reach || std::abs(py - kDialCentreY) > reach)
                continue;
            // Averaged premultiplied samples give the edges their partial coverage.
            Colour sum{0, 0, 0, 0};
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    // Pixel centres lie on whole coordinates, as for the hands.
                    const Colour c = ColourAt(px - kDialCentreX + (sx + 0.5) / kSamples - 0.5,
                                              py - kDialCentreY + (sy + 0.5) / kSamples - 0.5);
                    sum.red += c.red * c.alpha;
                    sum.green += c.green * c.alpha;
                    sum.blue += c.blue * c.alpha;
                    sum.alpha += c.alpha;
                }
            }
            constexpr double kCount = kSamples * kSamples;
            pixels[static_cast<size_t>(py) * kFaceWidth + px] = Premultiplied(
                {sum.red / kCount, sum.green / kCount, sum.blue / kCount, sum.alpha / kCount});
        }
    }
    return pixels;
}

}  // namespace velmora
