#pragma once

#include "platform/picture.h"

#include <QIcon>

namespace vorn {

// An icon drawn by code at whatever size and scale it is shown, so it is never blurred.
QIcon pictureIcon(Picture picture);

} // namespace vorn
