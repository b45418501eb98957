#include "motion/shake.h"

namespace velmora {
namespace {

struct Move {
    int32_t x, y;
};

// The move of each step 1-8 of a cycle; the moves of one cycle cancel out.
constexpr Move kMoves[] = {{-kShakeMove, 0}, {kShakeMove, 0},  {kShakeMove, 0},  {-kShakeMove, 0},
                           {0, kShakeMove},  {0, -kShakeMove}, {0, -kShakeMove}, {0, kShakeMove}};

}  // namespace

ShakeTickResult ShakeTick(ShakeState state) {
    ShakeTickResult result{state, 0, 0, false};
    ++result.state.step;
    if (result.state.step >= kShakeTicksPerCycle) {
        result.state.step = 0;
        ++result.state.cycle;
    } else {
        result.moveX = kMoves[result.state.step - 1].x;
        result.moveY = kMoves[result.state.step - 1].y;
    }
    if (result.state.cycle >= kShakeCycles) {
        result.state = ShakeState{};
        result.finished = true;
    }
    return result;
}

bool ClickStopsShake(const ShakeState& state) {
    return state.cycle > 0;
}

}  // namespace velmora
