#include "platform/placement.h"

#include <algorithm>
#include <cstdint>
#include <tuple>

namespace vorn {

namespace {

std::int64_t area(const QRect& rect) {
    return rect.isEmpty() ? 0 : std::int64_t(rect.width()) * rect.height();
}

// The square of the gap between two rectangles; 0 where they touch or overlap.
std::int64_t gapSquared(const QRect& a, const QRect& b) {
    const std::int64_t dx = std::max({0, b.left() - a.right() - 1, a.left() - b.right() - 1});
    const std::int64_t dy = std::max({0, b.top() - a.bottom() - 1, a.top() - b.bottom() - 1});
    return dx * dx + dy * dy;
}

// The start of a span of `length` moved the least into [low, low + room): at `low` when the
// span is the longer.
int fitted(int start, int length, int low, int room) {
    return std::max(low, std::min(start, low + room - length));
}

} // namespace

QRect reachablePlace(const QRect& frame, int titleBarHeight, const QList<QRect>& screens) {
    const int barHeight = std::max(1, titleBarHeight);
    const QRect titleBar(frame.left(), frame.top(), frame.width(), barHeight);
    const int grip = std::min(frame.width(), barHeight);
    for (const QRect& screen : screens) {
        const QRect shown = titleBar.intersected(screen);
        if (shown.height() == barHeight && shown.width() >= grip)
            return frame;
    }
    const auto closeness = [&frame](const QRect& screen) {
        return std::make_tuple(area(frame.intersected(screen)), -gapSquared(frame, screen));
    };
    const auto nearest =
        std::max_element(screens.cbegin(), screens.cend(), [&](const QRect& a, const QRect& b) {
            return closeness(a) < closeness(b);
        });
    if (nearest == screens.cend())
        return frame;
    return QRect(fitted(frame.left(), frame.width(), nearest->left(), nearest->width()),
                 fitted(frame.top(), frame.height(), nearest->top(), nearest->height()),
                 frame.width(), frame.height());
}

} // namespace vorn
