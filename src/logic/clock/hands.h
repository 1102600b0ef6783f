#pragma once

#include <cstdint>

// Where the clock's hands end for a given hour and minute. Pure arithmetic, no widget: the
// window copies these end points into its lines. Angles use 3.14 for pi, as the clock always
// has; the computation is in double precision and each end point is kept in single precision.
namespace vorn::hands {

inline constexpr double kPi = 3.14;
inline constexpr double kCentreX = 2040; // dial centre, twips in the client area
inline constexpr double kCentreY = 1920;
inline constexpr double kMinuteLength = 600;
inline constexpr double kHourLength = 380;

// An end point in twips.
struct EndPoint {
    float x;
    float y;
};

struct Hands {
    EndPoint minute;
    EndPoint hour;
};

// 12 o'clock is pi/2; the hands turn clockwise as the angle grows.
double minuteAngle(std::int16_t minute);
// The hour as read, 0 to 23, advanced by a sixtieth of an hour step per minute.
double hourAngle(std::int16_t hour, std::int16_t minute);
// The end of a hand of `length` starting at the dial centre.
EndPoint endPoint(double angle, double length);
Hands handsAt(std::int16_t hour, std::int16_t minute);

} // namespace vorn::hands
