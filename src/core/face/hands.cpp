#include "face/hands.h"

#include <cmath>

#include "text/integer.h"

namespace velmora {
namespace {

// Each hand's radius loses a fixed inset; the drawn length is what remains.
constexpr long double kInset = 10;

// The dial's angle conversion uses the decimal constants 3.14 and 1.57, not pi and pi/2, and
// evaluates in extended precision from left to right. The hour hand therefore does not repeat
// exactly after twelve hours, and the hour enters with its value 0-23 so that both halves of the
// day keep their own pixels.
HandSegment Hand(long double degrees, long double radius, uint32_t color, float width) {
    const long double theta = degrees * 3.14L / 180 + 1.57L;
    const long double length = radius - kInset;
    return HandSegment{kDialCentreX,
                       kDialCentreY,
                       kDialCentreX - static_cast<int32_t>(std::lrint(std::cos(theta) * length)),
                       kDialCentreY - static_cast<int32_t>(std::lrint(std::sin(theta) * length)),
                       color,
                       width};
}

// Characters first..first+count-1 (counted from 1), cut short at the end of the text.
std::string_view Piece(std::string_view text, size_t first, size_t count) {
    if (first - 1 >= text.size()) return {};
    return text.substr(first - 1, count);
}

}  // namespace

std::vector<HandSegment> ComputeHands(uint16_t hour, uint16_t minute, uint16_t second,
                                      std::string_view alarmTime, uint32_t handColor) {
    std::vector<HandSegment> hands;
    hands.reserve(4);
    if (!alarmTime.empty()) {
        // The hours piece is converted first, so it is the one named when both are bad.
        const int64_t alarmHour = StrToInt(Piece(alarmTime, 1, 2));
        const int64_t alarmMinute = StrToInt(Piece(alarmTime, 4, 2));
        hands.push_back(
            Hand(alarmHour * 30 + (alarmMinute * 30) / 60.0L, 60, kAlarmHandColor, 1.0f));
    }
    hands.push_back(Hand(hour * 30 + (minute * 30) / 60.0L, 45, handColor, 3.0f));
    hands.push_back(Hand(minute * 6, 55, handColor, 2.0f));
    hands.push_back(Hand(second * 6, 65, handColor, 1.0f));
    return hands;
}

}  // namespace velmora
