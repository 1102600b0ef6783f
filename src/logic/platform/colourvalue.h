#pragma once

#include <cstdint>

// Colour values as the windows store them: red + 256 x green + 65536 x blue, or, with the
// top bit set, the index of a system colour that the current palette resolves.
namespace vorn {

using ColourValue = std::uint32_t;

inline constexpr ColourValue kSystemColourFlag = 0x80000000u;
inline constexpr ColourValue kWindowBackground = 0x80000005u;
inline constexpr ColourValue kWindowText = 0x80000008u;
inline constexpr ColourValue kTitleBarText = 0x80000009u;
inline constexpr ColourValue kButtonFace = 0x8000000Fu;
inline constexpr ColourValue kButtonText = 0x80000012u;
inline constexpr ColourValue kHighlightText = 0x8000000Eu;
inline constexpr ColourValue kButtonHighlight = 0x80000014u;
inline constexpr ColourValue kWhite = 0xFFFFFFu;
inline constexpr ColourValue kBlack = 0x000000u;

constexpr ColourValue rgb(int red, int green, int blue) {
    return static_cast<ColourValue>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
constexpr int redOf(ColourValue v) {
    return static_cast<int>(v & 0xFF);
}
constexpr int greenOf(ColourValue v) {
    return static_cast<int>((v >> 8) & 0xFF);
}
constexpr int blueOf(ColourValue v) {
    return static_cast<int>((v >> 16) & 0xFF);
}
constexpr bool isSystemColour(ColourValue v) {
    return (v & kSystemColourFlag) != 0;
}

} // namespace vorn
