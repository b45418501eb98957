// F5 sets the wall clock bouncing; any key stops it.
#include <gtest/gtest.h>

#include "clock_test.h"

namespace velmora::testing {
namespace {

class BounceTest : public ClockTest {
  protected:
    POINT Place() const {
        RECT bounds;
        GetWindowRect(face_, &bounds);
        return {bounds.left, bounds.top};
    }

    // Whether the face moves within the time.
    bool Moves(DWORD ms) const {
        const POINT before = Place();
        return WaitUntil(
            [&] {
                const POINT now = Place();
                return now.x != before.x || now.y != before.y;
            },
            ms);
    }
};

TEST_F(BounceTest, F5SetsTheWallClockFallingAndAnyKeyStopsIt) {
    WriteStoredText(kSectionKey, L"skin", L"1");
    Start();
    const POINT start = Place();
    PressKey(VK_F5);
    ASSERT_TRUE(Moves(1000));
    const POINT falling = Place();
    EXPECT_EQ(falling.x, start.x) << falling.y;  // the first bounce of a run falls straight down
    EXPECT_GT(falling.y, start.y) << falling.x;
    EXPECT_EQ((falling.y - start.y) % 10, 0);

    PressKey(VK_SHIFT);
    Sleep(100);  // a tick may have been on its way
    EXPECT_FALSE(Moves(500));

    PressKey(VK_F5);  // and again
    EXPECT_TRUE(Moves(1000));
    PressKey(VK_F5);  // F5 while bouncing stops it too
    Sleep(100);
    EXPECT_FALSE(Moves(500));
}

TEST_F(BounceTest, F5DoesNothingWithTheOtherSkins) {
    Start();  // the wrist watch
    PressKey(VK_F5);
    EXPECT_FALSE(Moves(700));
}

}  // namespace
}  // namespace velmora::testing
