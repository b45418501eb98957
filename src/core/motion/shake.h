#pragma once

#include <cstdint>

namespace velmora {

// The shake at the alarm: eight cycles of nine ticks; in each cycle the face jumps 10 pixels
// left and back, right and back, down and back, up and back, then stands still for a tick.
struct ShakeState {
    int32_t step = 0;   // the step reached in the current cycle, 0 at its end
    int32_t cycle = 0;  // the cycles the running shake has completed
};

struct ShakeTickResult {
    ShakeState state;
    int32_t moveX;  // how far this tick moves the face
    int32_t moveY;
    bool finished;  // the shake is over; its timer stops
};

constexpr int32_t kShakeMove = 10;
constexpr int32_t kShakeTicksPerCycle = 9;
constexpr int32_t kShakeCycles = 8;

ShakeTickResult ShakeTick(ShakeState state);

// A click stops a shake, and puts the face back where it stood, only once the first cycle is
// over.
bool ClickStopsShake(const ShakeState& state);

}  // namespace velmora
