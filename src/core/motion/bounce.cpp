#include "motion/bounce.h"

namespace velmora {
namespace {

// The step along the edge after a hit: one sign below the middle, the other above it, unchanged
// exactly at the middle; the random bit then flips it.
int32_t AlongEdge(int32_t step, int32_t position, int32_t middle, int32_t belowMiddle,
                  bool randomBit) {
    if (position < middle) {
        step = belowMiddle;
    } else if (position > middle) {
        step = -belowMiddle;
    }
    return randomBit ? -step : step;
}

}  // namespace

BounceState BounceTick(BounceState s, const BounceArea& area, bool randomBit) {
    s.top += s.dy;
    s.left += s.dx;
    const int32_t halfWidth = area.screenWidth / 2;
    const int32_t halfHeight = area.screenHeight / 2;
    // The rules are not mirror images of one another; each is kept exactly as the face has
    // always moved.
    if (s.left < 0) {
        s.dx = 10;
        s.dy = AlongEdge(s.dy, s.top, halfHeight, -5, randomBit);
    }
    if (s.left + area.faceWidth > area.screenWidth) {
        s.dx = -10;
        s.dy = AlongEdge(s.dy, s.top, halfHeight, 5, randomBit);
    }
    if (s.top < 0) {
        s.dy = 10;
        s.dx = AlongEdge(s.dx, s.left, halfWidth, -5, randomBit);
    }
    if (s.top + area.faceHeight > area.screenHeight) {
        s.dy = -10;
        s.dx = AlongEdge(s.dx, s.left + area.faceWidth, halfWidth, 5, randomBit);
    }
    return s;
}

}  // namespace velmora
