#include "clock/hands.h"

#include <cmath>

namespace vorn::hands {

double minuteAngle(std::int16_t minute) {
    return kPi / 30 * minute + kPi / 2;
}

double hourAngle(std::int16_t hour, std::int16_t minute) {
    return kPi / 6 * hour + kPi / 2 + (kPi / 6) / 60 * minute;
}

EndPoint endPoint(double angle, double length) {
    return {static_cast<float>(kCentreX - length * std::cos(angle)),
            static_cast<float>(kCentreY - length * std::sin(angle))};
}

Hands handsAt(std::int16_t hour, std::int16_t minute) {
    return {endPoint(minuteAngle(minute), kMinuteLength),
            endPoint(hourAngle(hour, minute), kHourLength)};
}

} // namespace vorn::hands
