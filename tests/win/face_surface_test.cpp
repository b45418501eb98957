#include "face_surface.h"

#include <gtest/gtest.h>

#include <cstring>

#include "face/hands.h"
#include "gdiplus_session.h"
#include "skin_image.h"
#include "test_skin.h"
#include "velmora_process.h"

namespace velmora::win {
namespace {

constexpr uint32_t kHalfBlue = 0x80000040;  // premultiplied: alpha 0x80, blue 0x40

SkinImage UniformSkin(uint32_t pixel) {
    SkinImage skin;
    skin.width = 235;
    skin.height = 250;
    skin.pixels.assign(static_cast<size_t>(skin.width) * skin.height, pixel);
    return skin;
}

class FaceSurfaceTest : public ::testing::Test {
  protected:
    uint32_t At(int x, int y) const { return face_.pixels()[y * face_.width() + x]; }

    GdiplusSession gdiplus_;
    FaceSurface face_;
};

TEST_F(FaceSurfaceTest, HandsAreOpaqueLinesOverAnUntouchedSkin) {
    face_.Compose(UniformSkin(kHalfBlue), ComputeHands(3, 0, 0, "06:00", 0xFFFFFFFF));
    ASSERT_EQ(face_.width(), 235);
    ASSERT_EQ(face_.height(), 250);
    EXPECT_EQ(At(150, 126), 0xFFFFFFFFu);  // hour hand towards 3 o'clock, 3 pixels wide
    EXPECT_EQ(At(150, 125), 0xFFFFFFFFu);
    EXPECT_EQ(At(150, 127), 0xFFFFFFFFu);
    EXPECT_EQ(At(126, 165), 0xFFFF0000u);  // red alarm hand towards 6 o'clock
    EXPECT_EQ(At(126, 95), 0xFFFFFFFFu);   // minute and second hands straight up
    EXPECT_EQ(At(150, 140), kHalfBlue);    // away from every hand the skin is as it was
    EXPECT_EQ(At(0, 0), kHalfBlue);
    EXPECT_EQ(At(234, 249), kHalfBlue);
    EXPECT_EQ(At(126, 177), kHalfBlue);  // the alarm hand ends at its tip (126, 176)
}

TEST_F(FaceSurfaceTest, EachComposeStartsAgainFromTheSkin) {
    const SkinImage skin = UniformSkin(kHalfBlue);
    face_.Compose(skin, ComputeHands(3, 0, 0, "", 0xFFFFFFFF));
    face_.Compose(skin, ComputeHands(9, 30, 30, "", 0xFFFFFFFF));
    EXPECT_EQ(At(150, 126), kHalfBlue);  // the old hour hand is gone
}

// Setting the pixels a hand was once found to cover must give exactly what drawing it with GDI+
// gives: at any time of day, for each hand colour, the first time and from the kept stamps.
TEST_F(FaceSurfaceTest, KeptHandPixelsGiveExactlyWhatGdiplusDraws) {
    const SkinImage skin = UniformSkin(kHalfBlue);
    FaceSurface reference;
    const uint32_t colours[] = {0xFFFFFFFF, 0xFF000000, 0x80FFFFFF};  // the last not opaque
    for (int pass = 0; pass < 2; ++pass) {
        for (uint32_t colour : colours) {
            for (int minuteOfDay = 0; minuteOfDay < 24 * 60; minuteOfDay += 37) {
                const auto hands =
                    ComputeHands(static_cast<uint16_t>(minuteOfDay / 60),
                                 static_cast<uint16_t>(minuteOfDay % 60),
                                 static_cast<uint16_t>(minuteOfDay % 60), "23:59", colour);
                face_.Compose(skin, hands);
                reference.ComposeWithoutStamps(skin, hands);
                ASSERT_EQ(std::memcmp(face_.pixels(), reference.pixels(), 235 * 250 * 4), 0)
                    << "pass " << pass << ", colour " << std::hex << colour << std::dec
                    << ", minute of day " << minuteOfDay;
            }
        }
    }
    // The translucent hands really were drawn over the skin, blended.
    reference.ComposeWithoutStamps(skin, ComputeHands(3, 0, 0, "", 0x80FFFFFF));
    EXPECT_NE(reference.pixels()[126 * 235 + 150], kHalfBlue);
    EXPECT_NE(reference.pixels()[126 * 235 + 150], 0x80FFFFFFu);
}

TEST_F(FaceSurfaceTest, NoSkinGivesNoFace) {
    face_.Compose(SkinImage{}, ComputeHands(3, 0, 0, "", 0xFFFFFFFF));
    EXPECT_EQ(face_.pixels(), nullptr);
    EXPECT_FALSE(face_.Present(nullptr, {0, 0}));
}

TEST(SkinImageTest, DecodesToPremultipliedPixelsAndLetsTheFileGo) {
    GdiplusSession gdiplus;
    testing::ScratchFolder folder(L"skin");
    const std::wstring path = folder.File(L"velmora.png");
    ASSERT_TRUE(testing::WriteTestSkin(path));

    const SkinImage skin = LoadSkinImage(path);
    ASSERT_EQ(skin.width, testing::kSkinWidth);
    ASSERT_EQ(skin.height, testing::kSkinHeight);
    const auto at = [&](int x, int y) { return skin.pixels[y * skin.width + x]; };
    EXPECT_EQ(at(0, 0), 0u);                       // transparent corner
    EXPECT_EQ(at(126, 126), testing::kDialColor);  // opaque dial as it is
    EXPECT_EQ(at(126, 126 + 113), 0x80404040u);    // half-transparent grey, premultiplied
    EXPECT_TRUE(DeleteFileW(path.c_str()));        // not held open
}

TEST(SkinImageTest, MissingOrDamagedFileGivesAnEmptyImage) {
    GdiplusSession gdiplus;
    testing::ScratchFolder folder(L"skin");
    EXPECT_TRUE(LoadSkinImage(folder.File(L"absent.png")).empty());

    const std::wstring damaged = folder.File(L"damaged.png");
    HANDLE file =
        CreateFileW(damaged.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, "\x89PNG\r\n\x1a\n garbage", 17, &written, nullptr);
    CloseHandle(file);
    EXPECT_TRUE(LoadSkinImage(damaged).empty());
}

}  // namespace
}  // namespace velmora::win
