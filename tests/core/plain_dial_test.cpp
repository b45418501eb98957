#include "face/plain_dial.h"

#include <gtest/gtest.h>

#include <cmath>

#include "face/hands.h"

namespace velmora {
namespace {

class PlainDialTest : public ::testing::Test {
  protected:
    uint32_t At(int x, int y) const { return dial_[static_cast<size_t>(y) * kFaceWidth + x]; }
    static uint32_t Alpha(uint32_t pixel) { return pixel >> 24; }
    static uint32_t Red(uint32_t pixel) { return pixel >> 16 & 0xFF; }

    const std::vector<uint32_t> dial_ = PlainDial();
};

TEST_F(PlainDialTest, IsAPremultipliedRoundDialTheSizeOfEverySkin) {
    ASSERT_EQ(dial_.size(), static_cast<size_t>(kFaceWidth) * kFaceHeight);
    int visible = 0;
    for (int y = 0; y < kFaceHeight; ++y) {
        for (int x = 0; x < kFaceWidth; ++x) {
            const uint32_t pixel = At(x, y);
            const uint32_t alpha = Alpha(pixel);
            ASSERT_LE(Red(pixel), alpha) << x << "," << y;
            ASSERT_LE(pixel >> 8 & 0xFF, alpha) << x << "," << y;
            ASSERT_LE(pixel & 0xFF, alpha) << x << "," << y;
            const double distance = std::hypot(x - kDialCentreX, y - kDialCentreY);
            if (distance > 105.5) {
                EXPECT_EQ(pixel, 0u) << x << "," << y;  // clear around it
            } else if (distance < 102) {
                EXPECT_GE(alpha, 200u) << x << "," << y;  // solid within
            }
            visible += alpha > 0;
        }
    }
    // The disc's area, give or take its soft edge.
    EXPECT_NEAR(visible, 3.14159 * 104 * 104, 2 * 3.14159 * 104 * 1.5);
}

TEST_F(PlainDialTest, IsCentredWhereTheHandsTurn) {
    for (int d = 0; d <= 110; ++d) {
        for (int across : {-60, 0, 37}) {
            EXPECT_EQ(At(kDialCentreX + d, kDialCentreY + across),
                      At(kDialCentreX - d, kDialCentreY + across))
                << d << "," << across;
            EXPECT_EQ(At(kDialCentreX + across, kDialCentreY + d),
                      At(kDialCentreX + across, kDialCentreY - d))
                << across << "," << d;
        }
    }
}

TEST_F(PlainDialTest, HasALightMarkAtEveryHourAndPlainDialBetween) {
    const double pi = std::acos(-1.0);
    for (int hour = 0; hour < 12; ++hour) {
        const double onMark = hour * pi / 6, between = onMark + pi / 12;
        const auto pixelAt = [&](double angle) {
            return At(kDialCentreX + static_cast<int>(std::lround(88 * std::sin(angle))),
                      kDialCentreY - static_cast<int>(std::lround(88 * std::cos(angle))));
        };
        EXPECT_GT(Red(pixelAt(onMark)), Red(pixelAt(between)) + 60) << hour;
        EXPECT_GE(Alpha(pixelAt(between)), 200u) << hour;
    }
}

}  // namespace
}  // namespace velmora
