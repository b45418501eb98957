#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// A local date and time of day, as the clock reads it.
struct LocalTime {
    int year, month, day;
    int hour, minute, second;
};

// The minute an alarm text "hh:mm" names, when it names a real one (hour 0-23, minute 0-59,
// two digits each). 24:00 or 99:99 name none: such an alarm never fires, though its hand shows.
struct AlarmMinute {
    int hour, minute;
};
std::optional<AlarmMinute> ParseAlarmMinute(std::string_view alarmTime);

// Fires the daily alarm exactly once for each day's occurrence: at the first check whose time lies
// in the alarm minute (hh:mm:00 to hh:mm:59), whatever the user's time format, however the ticks
// fall in that minute, and whether or not one of them hits its first second.
class AlarmTrigger {
  public:
    // True when the alarm fires at this check.
    bool Check(std::string_view alarmTime, const LocalTime& now);

  private:
    // The last occurrence that fired: which alarm, on which day.
    std::string firedAlarm_;
    std::optional<LocalTime> firedOn_;
};

}  // namespace velmora
