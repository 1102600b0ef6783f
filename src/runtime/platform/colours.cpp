#include "platform/colours.h"

#include <QApplication>
#include <QStyle>

#include <array>

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

} // namespace vorn
