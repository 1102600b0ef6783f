#pragma once

#include "platform/colourvalue.h"

#include <QString>

#include <algorithm>

// Colour arithmetic of the web colour converter, free of widgets: the range a component may
// take, the colour value of three components, and the digits of the "#RRGGBB" notation.
namespace vorn {

inline constexpr double kComponentMin = 0.0;
inline constexpr double kComponentMax = 255.0;

// True for a component value the converter accepts: 0 to 255, fractions included.
constexpr bool inComponentRange(double value) {
    return value >= kComponentMin && value <= kComponentMax;
}

// The colour value red + 256 x green + 65536 x blue. A component outside 0..255 counts as
// the nearest end of the range, so it never spills into its neighbour's bits.
constexpr ColourValue componentColour(int red, int green, int blue) {
    const auto clamp = [](int v) { return std::clamp(v, 0, 255); };
    return rgb(clamp(red), clamp(green), clamp(blue));
}

// The red, green and blue parts of a plain colour value, in that order, each as two
// upper-case hexadecimal digits: the six digits that follow "#" in web notation.
QString webHexDigits(ColourValue value);

} // namespace vorn
