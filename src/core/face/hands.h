#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace velmora {

// The dial centre of every skin, in face image pixels.
constexpr int32_t kDialCentreX = 126;
constexpr int32_t kDialCentreY = 126;

// The alarm hand is always opaque red, one pixel wide.
constexpr uint32_t kAlarmHandColor = 0xFFFF0000;

// One straight hand from the dial centre (X1, Y1) to its tip (X2, Y2).
struct HandSegment {
    int32_t X1;
    int32_t Y1;
    int32_t X2;
    int32_t Y2;
    uint32_t PenColor;  // ARGB, alpha in the top byte
    float PenWidth;     // pixels

    bool operator==(const HandSegment& other) const {
        return X1 == other.X1 && Y1 == other.Y1 && X2 == other.X2 && Y2 == other.Y2 &&
               PenColor == other.PenColor && PenWidth == other.PenWidth;
    }
};

// The hands to draw for a local time of day (hour 0-23), in drawing order: the alarm hand first
// (only when alarmTime is not empty), then hour, minute and second. alarmTime is "hh:mm"; its
// pieces (characters 1-2 and 4-5) must be integers, or ConvertError names the first bad piece.
std::vector<HandSegment> ComputeHands(uint16_t hour, uint16_t minute, uint16_t second,
                                      std::string_view alarmTime, uint32_t handColor);

}  // namespace velmora
