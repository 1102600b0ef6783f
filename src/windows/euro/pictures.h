#pragma once

#include "platform/picture.h"

#include <QSize>

// The calculator's background photograph: Paris at nightfall, the lit tower between the
// roofs and the river below, drawn by code on a square grid scaled to the target.
namespace vorn::pictures {

// The photograph's own size in pixels; the window shows its top-left part.
inline constexpr QSize kNightScenePixels{512, 512};

void nightScene(QPainter& painter, const QRectF& target);

} // namespace vorn::pictures
