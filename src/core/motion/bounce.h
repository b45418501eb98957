#pragma once

#include <cstdint>

namespace velmora {

// The face's place and its steps while it bounces across the screen.
struct BounceState {
    int32_t left;
    int32_t top;
    int32_t dx;  // pixels per tick, positive to the right
    int32_t dy;  // pixels per tick, positive downwards
};

struct BounceArea {
    int32_t faceWidth;
    int32_t faceHeight;
    int32_t screenWidth;
    int32_t screenHeight;
};

// The vertical step a bounce starts with.
constexpr int32_t kBounceStartDY = 10;

// One tick: the face moves by its steps, then the edges it has passed turn it back (left, right,
// top, bottom, in that order; at a corner the later rule wins). The random bit, one per tick,
// flips the sideways step of every rule that fires.
BounceState BounceTick(BounceState state, const BounceArea& area, bool randomBit);

}  // namespace velmora
