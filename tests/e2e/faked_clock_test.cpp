// Runs with the clock of the whole process tree held at 10:10:07 (libfaketime, set up by the
// test's environment), so the face shows a known time.
#include <gtest/gtest.h>

#include <cmath>

#include "archived_skin.h"
#include "face/hands.h"
#include "face_surface.h"
#include "gdiplus_session.h"
#include "registry_access.h"
#include "screen.h"
#include "velmora_process.h"

namespace velmora::testing {
namespace {

struct SkinCase {
    const wchar_t* stored;
    const wchar_t* image;
    uint32_t handColor;
};

class FakedClockTest : public ::testing::TestWithParam<SkinCase> {};

TEST_P(FakedClockTest, FaceShowsTheSkinWithTheHandsOf101007PixelForPixel) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    ASSERT_TRUE(now.wHour == 10 && now.wMinute == 10 && now.wSecond == 7)
        << "the test clock is not held at 10:10:07 (libfaketime missing?)";

    DeleteUserKey(kStoreKey);
    WriteStoredText(kSectionKey, L"skin", GetParam().stored);
    win::GdiplusSession gdiplus;
    ScratchFolder temp(L"clock");
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

    // What the face must be: the skin with its hands at 10:10:07.
    ScratchFolder expectedFolder(L"expected");
    const win::SkinImage skin = ArchivedSkin(GetParam().image, expectedFolder.path());
    ASSERT_EQ(skin.width, shot.width());
    ASSERT_EQ(skin.height, shot.height());
    const auto hands = ComputeHands(10, 10, 7, "", GetParam().handColor);
    win::FaceSurface expected;
    expected.Compose(skin, hands);

    int wrong = 0, handPixels = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            const uint32_t pixel = expected.pixels()[y * expected.width() + x];
            // Fully transparent pixels show the desktop; the others show as they are.
            const uint32_t want = (pixel >> 24) == 0 ? behind.At(x, y) : ShownColour(pixel);
            if (!Near(shot.At(x, y), want, 1) && wrong++ < 5) {
                ADD_FAILURE() << x << "," << y << ": " << std::hex << shot.At(x, y) << " not "
                              << want;
            }
            handPixels += pixel == GetParam().handColor ? 1 : 0;
        }
    }
    EXPECT_EQ(wrong, 0);
    // The expectation itself holds the hands: on each, the pixel 30 px from the centre has their
    // colour.
    EXPECT_GT(handPixels, 100);
    for (const HandSegment& hand : hands) {
        const double dx = hand.X2 - hand.X1, dy = hand.Y2 - hand.Y1;
        const double scale = 30 / std::hypot(dx, dy);
        const int x = static_cast<int>(std::lround(hand.X1 + dx * scale));
        const int y = static_cast<int>(std::lround(hand.Y1 + dy * scale));
        const uint32_t colour = ShownColour(GetParam().handColor);
        EXPECT_TRUE(Near(shot.At(x, y), colour, 1) || Near(shot.At(x + 1, y), colour, 1) ||
                    Near(shot.At(x, y + 1), colour, 1))
            << "hand to " << hand.X2 << "," << hand.Y2;
    }
}

INSTANTIATE_TEST_SUITE_P(Skins, FakedClockTest,
                         ::testing::Values(SkinCase{L"0", L"velmora.png", 0xFFFFFFFF},
                                           SkinCase{L"1", L"velmora1.png", 0xFFFFFFFF},
                                           SkinCase{L"2", L"velmora2.png", 0xFF000000}));

}  // namespace
}  // namespace velmora::testing
