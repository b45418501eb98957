#include "alarm/alarm_trigger.h"

#include <gtest/gtest.h>

#include <vector>

namespace velmora {
namespace {

LocalTime At(int day, int hour, int minute, int second) {
    return LocalTime{2026, 1, day, hour, minute, second};
}

TEST(ParseAlarmMinuteTest, NamesOnlyRealMinutes) {
    const struct {
        const char* text;
        bool real;
        int hour, minute;
    } cases[] = {{"07:30", true, 7, 30}, {"00:00", true, 0, 0},  {"23:59", true, 23, 59},
                 {"24:00", false, 0, 0}, {"99:99", false, 0, 0}, {"12:60", false, 0, 0},
                 {"7:30", false, 0, 0},  {"07:3", false, 0, 0},  {"07-30", false, 0, 0},
                 {"", false, 0, 0},      {"+7:30", false, 0, 0}, {"07:30:00", false, 0, 0},
                 {"ab:cd", false, 0, 0}};
    for (const auto& c : cases) {
        const auto minute = ParseAlarmMinute(c.text);
        ASSERT_EQ(minute.has_value(), c.real) << c.text;
        if (minute) {
            EXPECT_EQ(minute->hour, c.hour);
            EXPECT_EQ(minute->minute, c.minute);
        }
    }
}

// The seconds at which renders happen, and at which of them the alarm fires.
struct TickCase {
    const char* what;
    std::vector<LocalTime> checks;
    std::vector<bool> fires;
};

TEST(AlarmTriggerTest, FiresOnceForEachDaysOccurrence) {
    const TickCase cases[] = {
        {"a tick in the first second",
         {At(1, 7, 29, 59), At(1, 7, 30, 0), At(1, 7, 30, 1)},
         {false, true, false}},
        {"the first second skipped",
         {At(1, 7, 29, 59), At(1, 7, 30, 1), At(1, 7, 30, 2)},
         {false, true, false}},
        {"two renders in one second", {At(1, 7, 30, 0), At(1, 7, 30, 0)}, {true, false}},
        {"late in the minute",
         {At(1, 7, 30, 58), At(1, 7, 30, 59), At(1, 7, 31, 0)},
         {true, false, false}},
        {"next day again",
         {At(1, 7, 30, 0), At(1, 7, 31, 0), At(2, 7, 30, 3)},
         {true, false, true}},
        {"the clock set back into the minute",
         {At(1, 7, 30, 5), At(1, 7, 29, 50), At(1, 7, 30, 0)},
         {true, false, false}},
        {"never outside the minute",
         {At(1, 7, 29, 59), At(1, 7, 31, 0), At(1, 19, 30, 0)},
         {false, false, false}},
    };
    for (const TickCase& c : cases) {
        AlarmTrigger trigger;
        for (size_t i = 0; i < c.checks.size(); ++i) {
            EXPECT_EQ(trigger.Check("07:30", c.checks[i]), c.fires[i]) << c.what << ", check " << i;
        }
    }
}

TEST(AlarmTriggerTest, AnAlarmSetAgainOrAnotherAlarmFiresInItsOwnRight) {
    AlarmTrigger trigger;
    EXPECT_TRUE(trigger.Check("07:30", At(1, 7, 30, 0)));
    EXPECT_TRUE(trigger.Check("07:31", At(1, 7, 31, 10)));  // set to the next minute
    EXPECT_FALSE(trigger.Check("07:31", At(1, 7, 31, 11)));
}

TEST(AlarmTriggerTest, TimesThatNameNoMinuteNeverFire) {
    AlarmTrigger trigger;
    for (int hour = 0; hour < 24; ++hour) {
        for (int minute = 0; minute < 60; ++minute) {
            EXPECT_FALSE(trigger.Check("24:00", At(1, hour, minute, 0)));
            EXPECT_FALSE(trigger.Check("99:99", At(1, hour, minute, 0)));
            EXPECT_FALSE(trigger.Check("", At(1, hour, minute, 0)));
        }
    }
    EXPECT_TRUE(trigger.Check("00:00", At(2, 0, 0, 0)));  // midnight is a real minute
}

}  // namespace
}  // namespace velmora
