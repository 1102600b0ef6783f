#pragma once

#include "platform/picture.h"

namespace vorn::pictures {

// The clock's background: a mountain lake under a morning sky, drawn on a 320 x 240 grid
// scaled to the target. The dial sits over the calm water and the pale sky behind the text.
void landscape(QPainter& painter, const QRectF& target);

} // namespace vorn::pictures
