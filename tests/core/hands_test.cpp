#include "face/hands.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "text/integer.h"

namespace velmora {
namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;

enum class Hand { Alarm, Hour, Minute, Second };

struct TipCase {
    Hand hand;
    int hour, minute, second;
    const char* alarm;
    int x, y;
};

// The tip of one hand for the given time and alarm text.
HandSegment Segment(const TipCase& c) {
    const auto hands = ComputeHands(c.hour, c.minute, c.second, c.alarm, kWhite);
    const size_t offset = hands.size() == 4 ? 1 : 0;
    switch (c.hand) {
        case Hand::Alarm:
            return hands.at(0);
        case Hand::Hour:
            return hands.at(offset + 0);
        case Hand::Minute:
            return hands.at(offset + 1);
        case Hand::Second:
            return hands.at(offset + 2);
    }
    return {};
}

void PrintTo(const TipCase& c, std::ostream* os) {
    const char* names[] = {"alarm", "hour", "minute", "second"};
    *os << names[static_cast<int>(c.hand)] << " at " << c.hour << ":" << c.minute << ":" << c.second
        << " alarm '" << c.alarm << "'";
}

class HandTipTest : public testing::TestWithParam<TipCase> {};

TEST_P(HandTipTest, TipIsWhereTheDialPutsIt) {
    const TipCase& c = GetParam();
    const HandSegment s = Segment(c);
    EXPECT_EQ(s.X1, 126);
    EXPECT_EQ(s.Y1, 126);
    EXPECT_EQ(s.X2, c.x) << c.hour << ":" << c.minute << ":" << c.second << " alarm " << c.alarm;
    EXPECT_EQ(s.Y2, c.y) << c.hour << ":" << c.minute << ":" << c.second << " alarm " << c.alarm;
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, HandTipTest,
    testing::Values(
        TipCase{Hand::Hour, 3, 0, 0, "", 161, 126}, TipCase{Hand::Hour, 15, 0, 0, "", 161, 126},
        TipCase{Hand::Hour, 0, 0, 0, "", 126, 91}, TipCase{Hand::Hour, 12, 0, 0, "", 126, 91},
        TipCase{Hand::Hour, 6, 0, 0, "", 126, 161}, TipCase{Hand::Hour, 9, 0, 0, "", 91, 126},
        TipCase{Hand::Hour, 10, 10, 0, "", 97, 106}, TipCase{Hand::Hour, 22, 10, 0, "", 97, 106},
        TipCase{Hand::Hour, 0, 2, 0, "", 127, 91}, TipCase{Hand::Hour, 12, 2, 0, "", 126, 91},
        TipCase{Hand::Hour, 11, 59, 0, "", 126, 91}, TipCase{Hand::Hour, 23, 59, 0, "", 125, 91},
        TipCase{Hand::Minute, 0, 0, 0, "", 126, 81}, TipCase{Hand::Minute, 0, 15, 0, "", 171, 126},
        TipCase{Hand::Minute, 0, 30, 0, "", 126, 171}, TipCase{Hand::Minute, 0, 45, 0, "", 81, 126},
        TipCase{Hand::Minute, 0, 1, 0, "", 131, 81}, TipCase{Hand::Minute, 0, 10, 0, "", 165, 103},
        TipCase{Hand::Minute, 0, 59, 0, "", 121, 81}, TipCase{Hand::Second, 0, 0, 0, "", 126, 71},
        TipCase{Hand::Second, 0, 0, 15, "", 181, 126},
        TipCase{Hand::Second, 0, 0, 30, "", 126, 181}, TipCase{Hand::Second, 0, 0, 45, "", 71, 126},
        TipCase{Hand::Second, 0, 0, 1, "", 132, 71}, TipCase{Hand::Second, 0, 0, 7, "", 163, 85},
        TipCase{Hand::Second, 0, 0, 59, "", 120, 71},
        TipCase{Hand::Alarm, 0, 0, 0, "00:00", 126, 76},
        TipCase{Hand::Alarm, 0, 0, 0, "07:30", 91, 161},
        TipCase{Hand::Alarm, 0, 0, 0, "19:30", 91, 162},
        TipCase{Hand::Alarm, 0, 0, 0, "06:45", 107, 172},
        TipCase{Hand::Alarm, 0, 0, 0, "99:99", 160, 163}));

TEST(ComputeHandsTest, CompleteTickListsEveryHandInDrawingOrder) {
    const auto hands = ComputeHands(10, 10, 7, "07:30", kWhite);
    const std::vector<HandSegment> expected = {
        {126, 126, 91, 161, 0xFFFF0000, 1.0f},
        {126, 126, 97, 106, kWhite, 3.0f},
        {126, 126, 165, 103, kWhite, 2.0f},
        {126, 126, 163, 85, kWhite, 1.0f},
    };
    EXPECT_EQ(hands, expected);
}

TEST(ComputeHandsTest, NoAlarmGivesThreeHandsInTheSkinColour) {
    const uint32_t gold = 0xFFD4AF37;
    const auto hands = ComputeHands(10, 10, 7, "", gold);
    ASSERT_EQ(hands.size(), 3u);
    EXPECT_EQ(hands[0].PenWidth, 3.0f);
    EXPECT_EQ(hands[1].PenWidth, 2.0f);
    EXPECT_EQ(hands[2].PenWidth, 1.0f);
    for (const auto& h : hands)
        EXPECT_EQ(h.PenColor, gold);
}

struct BadAlarmCase {
    const char* alarm;
    const char* message;
};

void PrintTo(const BadAlarmCase& c, std::ostream* os) {
    *os << "alarm '" << c.alarm << "'";
}

class BadAlarmTest : public testing::TestWithParam<BadAlarmCase> {};

TEST_P(BadAlarmTest, FailsNamingTheFirstBadPiece) {
    const BadAlarmCase& c = GetParam();
    try {
        ComputeHands(10, 10, 7, c.alarm, kWhite);
        FAIL() << "no error for " << c.alarm;
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), c.message);
    }
}

INSTANTIATE_TEST_SUITE_P(ConversionErrors, BadAlarmTest,
                         testing::Values(BadAlarmCase{"ab:30", "'ab' is not a valid integer value"},
                                         BadAlarmCase{"7:30", "'7:' is not a valid integer value"},
                                         BadAlarmCase{"12", "'' is not a valid integer value"},
                                         BadAlarmCase{"12:", "'' is not a valid integer value"},
                                         BadAlarmCase{"ab:cd", "'ab' is not a valid integer value"},
                                         BadAlarmCase{"12:x5", "'x5' is not a valid integer value"},
                                         BadAlarmCase{"12:-", "'-' is not a valid integer value"}));

TEST(ComputeHandsTest, NumericButOutOfRangeAlarmsStillGiveAHand) {
    EXPECT_EQ(ComputeHands(0, 0, 0, "24:00", kWhite).size(), 4u);
    EXPECT_EQ(ComputeHands(0, 0, 0, "-1:+5", kWhite).size(), 4u);
}

// Every tip of the day stays inside its hand's circle, and the pixels do not depend on the
// order of evaluation shortcuts a compiler might take.
TEST(ComputeHandsTest, EveryTipOfTheDayLiesInsideItsHandsRange) {
    for (int h = 0; h < 24; ++h) {
        for (int m = 0; m < 60; ++m) {
            const auto hands = ComputeHands(h, m, m, "", kWhite);
            const int limits[3][2] = {{91, 161}, {81, 171}, {71, 181}};
            for (int i = 0; i < 3; ++i) {
                EXPECT_GE(hands[i].X2, limits[i][0]);
                EXPECT_LE(hands[i].X2, limits[i][1]);
                EXPECT_GE(hands[i].Y2, limits[i][0]);
                EXPECT_LE(hands[i].Y2, limits[i][1]);
            }
        }
    }
}

// 3.14/180 is a little less than pi/180, so the second half of the day drifts by a pixel at a
// known number of positions; a formula with real pi, or one reduced modulo 12, misses these.
TEST(ComputeHandsTest, SecondHalfOfTheDayDiffersAtTheKnownPositions) {
    int hourDiffers = 0;
    int alarmDiffers = 0;
    for (int h = 0; h < 12; ++h) {
        for (int m = 0; m < 60; ++m) {
            char morning[6], evening[6];
            std::snprintf(morning, sizeof morning, "%02d:%02d", h, m);
            std::snprintf(evening, sizeof evening, "%02d:%02d", h + 12, m);
            const auto am = ComputeHands(h, m, 0, morning, kWhite);
            const auto pm = ComputeHands(h + 12, m, 0, evening, kWhite);
            if (!(am[1] == pm[1])) ++hourDiffers;
            if (!(am[0] == pm[0])) ++alarmDiffers;
        }
    }
    EXPECT_EQ(hourDiffers, 113);
    EXPECT_EQ(alarmDiffers, 125);
}

}  // namespace
}  // namespace velmora
