#include "alarm/alarm_trigger.h"

namespace velmora {
namespace {

std::optional<int> TwoDigits(std::string_view text) {
    if (text.size() != 2 || text[0] < '0' || text[0] > '9' || text[1] < '0' || text[1] > '9') {
        return std::nullopt;
    }
    return (text[0] - '0') * 10 + (text[1] - '0');
}

bool SameDay(const LocalTime& a, const LocalTime& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

}  // namespace

std::optional<AlarmMinute> ParseAlarmMinute(std::string_view alarmTime) {
    if (alarmTime.size() != 5 || alarmTime[2] != ':') return std::nullopt;
    const auto hour = TwoDigits(alarmTime.substr(0, 2));
    const auto minute = TwoDigits(alarmTime.substr(3, 2));
    if (!hour || !minute || *hour > 23 || *minute > 59) return std::nullopt;
    return AlarmMinute{*hour, *minute};
}

bool AlarmTrigger::Check(std::string_view alarmTime, const LocalTime& now) {
    const auto minute = ParseAlarmMinute(alarmTime);
    if (!minute || now.hour != minute->hour || now.minute != minute->minute) return false;
    // Once a day for this alarm; another alarm set for the same minute fires in its own right.
    if (firedOn_ && SameDay(*firedOn_, now) && firedAlarm_ == alarmTime) return false;
    firedAlarm_ = std::string(alarmTime);
    firedOn_ = now;
    return true;
}

}  // namespace velmora
