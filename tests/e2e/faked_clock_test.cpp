// Runs with the clock of the whole process tree held at 10:10:07 (libfaketime, set up by the
// test's environment), so the face shows a known time.
#include <gtest/gtest.h>

#include <cmath>

#include "face/hands.h"
#include "gdiplus_session.h"
#include "registry_access.h"
#include "screen.h"
#include "test_skin.h"
#include "velmora_process.h"

namespace velmora::testing {
namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kDial = kDialColor & 0xFFFFFF;

// Whether any pixel within one pixel of (x, y) has the colour.
bool ColourNear(const ScreenShot& shot, double x, double y, uint32_t colour) {
    const int cx = static_cast<int>(std::lround(x)), cy = static_cast<int>(std::lround(y));
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if (Near(shot.At(cx + dx, cy + dy), colour, 2)) return true;
        }
    }
    return false;
}

TEST(FakedClockTest, HandsStandWhereTheGeometryPutsThemAt101007) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    ASSERT_TRUE(now.wHour == 10 && now.wMinute == 10 && now.wSecond == 7)
        << "the test clock is not held at 10:10:07 (libfaketime missing?)";

    DeleteUserKey(kStoreKey);
    win::GdiplusSession gdiplus;
    ScratchFolder temp(L"clock");
    ASSERT_TRUE(WriteTestSkin(temp.File(L"velmora.png")));
    VelmoraProcess clock(temp.path());
    const HWND face = clock.WaitForFace().main;
    ASSERT_TRUE(face);
    Sleep(1500);  // a tick has redrawn it
    RECT bounds;
    GetWindowRect(face, &bounds);
    const ScreenShot shot(bounds);
    clock.Close();
    ASSERT_EQ(clock.WaitForExit(), 0u);
    Sleep(300);
    const ScreenShot behind(bounds);

    const auto hands = ComputeHands(10, 10, 7, "", 0xFFFFFFFF);
    ASSERT_EQ(hands.size(), 3u);
    for (const HandSegment& hand : hands) {
        const double dx = hand.X2 - hand.X1, dy = hand.Y2 - hand.Y1;
        const double length = std::hypot(dx, dy);
        for (double along : {0.3, 0.6, 0.9}) {
            EXPECT_TRUE(ColourNear(shot, hand.X1 + dx * along, hand.Y1 + dy * along, kWhite))
                << "hand to (" << hand.X2 << "," << hand.Y2 << ") missing at " << along;
        }
        // Just beyond the tip the dial shows again.
        const double beyond = (length + 4) / length;
        EXPECT_FALSE(ColourNear(shot, hand.X1 + dx * beyond, hand.Y1 + dy * beyond, kWhite))
            << "hand to (" << hand.X2 << "," << hand.Y2 << ") is too long";
    }
    // Where no hand points (straight down, 6 o'clock) the dial shows.
    EXPECT_TRUE(Near(shot.At(126, 170), kDial, 2)) << std::hex << shot.At(126, 170);
    // The rim's half-transparent grey arrives premultiplied; the corners let the desktop through.
    EXPECT_TRUE(Near(shot.At(126, 126 + 113), 0x404040, 2)) << std::hex << shot.At(126, 239);
    EXPECT_EQ(shot.At(2, 2), behind.At(2, 2));
    EXPECT_EQ(shot.At(232, 247), behind.At(232, 247));
}

}  // namespace
}  // namespace velmora::testing
