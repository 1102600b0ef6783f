#pragma once

#include "platform/picture.h"

#include <QIcon>
#include <QList>

namespace vorn {

// An icon drawn by code at whatever size and scale it is shown, so it is never blurred, and
// kept for each size once drawn.
// `sizes` are the square sizes it announces to the window system (none: any size).
QIcon pictureIcon(Picture picture, QList<int> sizes = {});

} // namespace vorn
