#include "motion/bounce.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

// A 1280 x 1024 screen and the 235 x 250 face: the middles are x 640 and y 512.
constexpr BounceArea kArea{235, 250, 1280, 1024};

struct TickCase {
    const char* what;
    BounceState before;
    bool bit;
    BounceState after;
};

void PrintTo(const TickCase& c, std::ostream* os) {
    *os << c.what << (c.bit ? ", bit 1" : ", bit 0");
}

class BounceTickTest : public testing::TestWithParam<TickCase> {};

TEST_P(BounceTickTest, MovesThenTurnsAtTheEdges) {
    const TickCase& c = GetParam();
    const BounceState s = BounceTick(c.before, kArea, c.bit);
    EXPECT_EQ(s.left, c.after.left);
    EXPECT_EQ(s.top, c.after.top);
    EXPECT_EQ(s.dx, c.after.dx);
    EXPECT_EQ(s.dy, c.after.dy);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, BounceTickTest,
    testing::Values(
        TickCase{"open screen: move only", {500, 300, 0, 10}, false, {500, 310, 0, 10}},
        TickCase{"open screen", {500, 300, 5, -10}, true, {505, 290, 5, -10}},
        // Left edge: upper half goes up, lower half down; the bit flips it.
        TickCase{"left edge, upper half", {3, 100, -5, 10}, false, {-2, 110, 10, -5}},
        TickCase{"left edge, upper half", {3, 100, -5, 10}, true, {-2, 110, 10, 5}},
        TickCase{"left edge, lower half", {3, 600, -5, 10}, false, {-2, 610, 10, 5}},
        TickCase{"left edge at the middle keeps dy", {3, 502, -5, 10}, false, {-2, 512, 10, 10}},
        TickCase{"left edge at the middle", {3, 502, -5, 10}, true, {-2, 512, 10, -10}},
        // Right edge: the opposite signs.
        TickCase{"right edge exactly at the screen's side",
                 {1040, 100, 5, 10},
                 false,
                 {1045, 110, 5, 10}},
        TickCase{"right edge, upper half", {1046, 100, 5, 10}, false, {1051, 110, -10, 5}},
        TickCase{"right edge, lower half", {1046, 600, 5, 10}, true, {1051, 610, -10, 5}},
        // Top edge compares the face's left side with the middle.
        TickCase{"top edge, left half", {100, 5, 5, -10}, false, {105, -5, -5, 10}},
        TickCase{"top edge, right half", {700, 5, 5, -10}, true, {705, -5, -5, 10}},
        TickCase{"top edge, left side at the middle", {635, 5, 5, -10}, false, {640, -5, 5, 10}},
        // Bottom edge compares the face's right side with the middle.
        TickCase{
            "bottom edge, right side left of middle", {100, 770, 0, 10}, false, {100, 780, 5, -10}},
        TickCase{"bottom edge, right side right of middle",
                 {500, 770, 0, 10},
                 false,
                 {500, 780, -5, -10}},
        TickCase{
            "bottom edge, right side at the middle", {405, 770, 0, 10}, false, {405, 780, 0, -10}},
        TickCase{
            "bottom edge, right side left of middle", {100, 770, 0, 10}, true, {100, 780, -5, -10}},
        // Corners: the later rule wins for the axis both set.
        TickCase{"top-left corner", {2, 2, -5, -10}, false, {-3, -8, -5, 10}},
        TickCase{"bottom-right corner", {1044, 770, 5, 10}, false, {1049, 780, -5, -10}}));

TEST(BounceTest, FirstBounceFallsStraightDownUntilTheBottomTurnsIt) {
    BounceState s{300, 150, 0, kBounceStartDY};
    int ticks = 0;
    while (s.dy > 0 && ticks < 1000) {
        s = BounceTick(s, kArea, false);
        ++ticks;
        EXPECT_EQ(s.left, 300);
    }
    EXPECT_EQ(s.top + kArea.faceHeight, 1030);  // the first position past the bottom
    EXPECT_EQ(s.dx, 5);                         // its right side, 535, is left of the middle
}

TEST(BounceTest, FaceStaysNearTheScreenForEver) {
    BounceState s{300, 150, 0, kBounceStartDY};
    unsigned bits = 12345;
    for (int i = 0; i < 100000; ++i) {
        bits = bits * 1103515245u + 12345u;
        s = BounceTick(s, kArea, (bits >> 16) & 1);
        ASSERT_GE(s.left, -20);
        ASSERT_LE(s.left + kArea.faceWidth, kArea.screenWidth + 20);
        ASSERT_GE(s.top, -20);
        ASSERT_LE(s.top + kArea.faceHeight, kArea.screenHeight + 20);
    }
}

}  // namespace
}  // namespace velmora
