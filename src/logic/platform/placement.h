#pragma once

#include <QList>
#include <QRect>

namespace vorn {

// Where a window's frame goes when the program shows it again at the place it kept. The kept
// frame stays as it is while a piece of its title bar, as wide as the bar is tall, still lies
// on a screen: the user can take it there. Otherwise (the screen it stood on was unplugged or
// made smaller) it is moved the least that puts it wholly on the screen it overlaps most, or
// on the nearest one; a frame larger than that screen goes to its top-left corner, so that
// its title bar shows. `screens` are the areas windows may take on each screen, in the
// window's coordinates; with none known the frame stays.
QRect reachablePlace(const QRect& frame, int titleBarHeight, const QList<QRect>& screens);

} // namespace vorn
