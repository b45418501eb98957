#include "motion/shake.h"

#include <gtest/gtest.h>

#include <vector>

namespace velmora {
namespace {

TEST(ShakeTest, OneCycleJumpsLeftRightDownUpAndRests) {
    const struct {
        int32_t x, y;  // position relative to where the cycle began, after each tick
    } expected[] = {{-10, 0}, {0, 0}, {10, 0}, {0, 0}, {0, 10}, {0, 0}, {0, -10}, {0, 0}, {0, 0}};
    ShakeState state;
    int32_t x = 0, y = 0;
    for (const auto& e : expected) {
        const ShakeTickResult tick = ShakeTick(state);
        state = tick.state;
        x += tick.moveX;
        y += tick.moveY;
        EXPECT_TRUE(tick.moveX == 0 || tick.moveY == 0);  // one coordinate at most
        EXPECT_EQ(x, e.x);
        EXPECT_EQ(y, e.y);
        EXPECT_FALSE(tick.finished);
    }
    EXPECT_EQ(state.step, 0);
    EXPECT_EQ(state.cycle, 1);
}

TEST(ShakeTest, AShakeLeftAloneEndsAfter72TicksWhereItBegan) {
    ShakeState state;
    int32_t x = 0, y = 0, moves = 0, ticks = 0;
    for (bool finished = false; !finished && ticks < 1000;) {
        const ShakeTickResult tick = ShakeTick(state);
        state = tick.state;
        x += tick.moveX;
        y += tick.moveY;
        moves += (tick.moveX || tick.moveY) ? 1 : 0;
        finished = tick.finished;
        ++ticks;
    }
    EXPECT_EQ(ticks, 72);
    EXPECT_EQ(moves, 64);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(state.step, 0);
    EXPECT_EQ(state.cycle, 0);
}

TEST(ShakeTest, AClickCountsOnlyAfterTheFirstCycle) {
    ShakeState state;
    EXPECT_FALSE(ClickStopsShake(state));  // idle
    std::vector<bool> stops;
    for (int tick = 1; tick <= 20; ++tick) {
        state = ShakeTick(state).state;
        stops.push_back(ClickStopsShake(state));
    }
    for (int tick = 1; tick <= 8; ++tick)
        EXPECT_FALSE(stops[tick - 1]) << tick;
    for (int tick = 9; tick <= 20; ++tick)
        EXPECT_TRUE(stops[tick - 1]) << tick;
}

}  // namespace
}  // namespace velmora
