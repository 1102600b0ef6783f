#include "platform/colours.h"

#include <QApplication>
#include <QStyle>

#include <algorithm>
#include <array>
#include <cmath>

namespace vorn {

namespace {

struct SystemColour {
    std::uint32_t index;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The classic system colour indices, mapped to the nearest palette roles.
constexpr std::array kSystemColours{
    SystemColour{0, QPalette::Active, QPalette::Mid},                // scroll bars
    SystemColour{1, QPalette::Active, QPalette::Dark},               // desktop
    SystemColour{2, QPalette::Active, QPalette::Highlight},          // active title bar
    SystemColour{3, QPalette::Inactive, QPalette::Mid},              // inactive title bar
    SystemColour{4, QPalette::Active, QPalette::Window},             // menu bar
    SystemColour{5, QPalette::Active, QPalette::Base},               // window background
    SystemColour{6, QPalette::Active, QPalette::Shadow},             // window frame
    SystemColour{7, QPalette::Active, QPalette::WindowText},         // menu text
    SystemColour{8, QPalette::Active, QPalette::Text},               // window text
    SystemColour{9, QPalette::Active, QPalette::HighlightedText},    // title-bar text
    SystemColour{10, QPalette::Active, QPalette::Mid},               // active border
    SystemColour{11, QPalette::Inactive, QPalette::Mid},             // inactive border
    SystemColour{12, QPalette::Active, QPalette::Dark},              // MDI background
    SystemColour{13, QPalette::Active, QPalette::Highlight},         // highlight
    SystemColour{14, QPalette::Active, QPalette::HighlightedText},   // highlighted text
    SystemColour{15, QPalette::Active, QPalette::Button},            // button face
    SystemColour{16, QPalette::Active, QPalette::Dark},              // button shadow
    SystemColour{17, QPalette::Disabled, QPalette::Text},            // disabled text
    SystemColour{18, QPalette::Active, QPalette::ButtonText},        // button text
    SystemColour{19, QPalette::Inactive, QPalette::HighlightedText}, // inactive title-bar text
    SystemColour{20, QPalette::Active, QPalette::Light},             // 3-D highlight
    SystemColour{21, QPalette::Active, QPalette::Shadow},            // 3-D dark shadow
    SystemColour{22, QPalette::Active, QPalette::Midlight},          // 3-D light
    SystemColour{23, QPalette::Active, QPalette::ToolTipText},       // tooltip text
    SystemColour{24, QPalette::Active, QPalette::ToolTipBase},       // tooltip background
};

// Text reads below this ratio only with effort; above the second, no one needs more.
constexpr double kReadable = 4.5;
constexpr double kComfortable = 7.0;
// Steps from the text colour to black or white, the first that reads being taken.
constexpr int kMixSteps = 64;

double linear(int channel) {
    const double value = channel / 255.0;
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& colour) {
    return 0.2126 * linear(colour.red()) + 0.7152 * linear(colour.green()) +
           0.0722 * linear(colour.blue());
}

QColor mixed(const QColor& from, const QColor& to, double share) {
    const auto channel = [share](int a, int b) { return int(std::lround(a + (b - a) * share)); };
    return QColor(channel(from.red(), to.red()), channel(from.green(), to.green()),
                  channel(from.blue(), to.blue()));
}

} // namespace

QColor toQColor(ColourValue value, const QPalette& palette) {
    if (!isSystemColour(value))
        return QColor(redOf(value), greenOf(value), blueOf(value));
    const std::uint32_t index = value & ~kSystemColourFlag;
    for (const auto& entry : kSystemColours) {
        if (entry.index == index)
            return palette.color(entry.group, entry.role);
    }
    return palette.color(QPalette::Active, QPalette::Window);
}

QColor toQColor(ColourValue value) {
    return toQColor(value, QApplication::palette());
}

QPalette classicPalette() {
    return QApplication::style()->standardPalette();
}

ColourValue fromQColor(const QColor& colour) {
    return rgb(colour.red(), colour.green(), colour.blue());
}

ColourValue resolved(ColourValue value) {
    return isSystemColour(value) ? fromQColor(toQColor(value)) : value;
}

double contrastRatio(const QColor& first, const QColor& second) {
    const double one = luminance(first);
    const double other = luminance(second);
    return (std::max(one, other) + 0.05) / (std::min(one, other) + 0.05);
}

QColor readableOn(const QColor& text, const QColor& ground, const QColor& classicGround) {
    const double designed = contrastRatio(text, classicGround);
    if (contrastRatio(text, ground) >= kReadable || designed < kReadable)
        return text;
    const double wanted = std::min(designed, kComfortable);
    const QColor extreme = contrastRatio(Qt::white, ground) > contrastRatio(Qt::black, ground)
                               ? QColor(Qt::white)
                               : QColor(Qt::black);
    for (int step = 1; step < kMixSteps; ++step) {
        const QColor candidate = mixed(text, extreme, double(step) / kMixSteps);
        if (contrastRatio(candidate, ground) >= wanted)
            return candidate;
    }
    return extreme;
}

} // namespace vorn
