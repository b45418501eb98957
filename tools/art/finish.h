// Turns a painted skin into the transparency the clock composes with the desktop: a dial that
// lets a little of the desktop through, a solid rim, and a soft shadow fading into nothing.
#pragma once

#include <cairo.h>

#include "image.h"

namespace velmora::art {

// Inclusive pixel rectangle, x then y from the top-left.
struct Box {
    int left;
    int top;
    int right;
    int bottom;
};
bool operator==(const Box& a, const Box& b);

struct ShadowStyle {
    double dx;        // offset to the right, pixels
    double dy;        // offset downwards, pixels
    double reachX;    // blur radius across, pixels
    double reachY;    // blur radius up and down, pixels
    double strength;  // opacity where the shadow is full
};

struct FinishStyle {
    int dialAlpha;      // every pixel of the dial surface
    int peakAlpha;      // everything painted solid outside the dial, the most opaque pixels
    double dialRadius;  // around the dial centre
    Box bounds;         // nothing may show outside it
    ShadowStyle shadow;
};

struct FinishReport {
    Box natural;      // where anything showed before cutting to the bounds
    int clippedPeak;  // the most opaque pixel that the cut removed
};

// `painted` is an ARGB32 surface of the skin's size, opaque wherever the clock is.
Image FinishSkin(cairo_surface_t* painted, const FinishStyle& style, FinishReport* report);

// The smallest rectangle holding every pixel with alpha above zero, {0, 0, -1, -1} if none.
Box AlphaBounds(const Image& image);

}  // namespace velmora::art
