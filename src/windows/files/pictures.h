#pragma once

#include "platform/picture.h"

// The file manager's picture, drawn by code into whatever rectangle it is given.
namespace vorn::pictures {

// The window's background: a deep blue-green gradient with soft light and the outlines of a
// few sheets and a magnifying glass, dark enough for the white captions on it.
void fileSearch(QPainter& painter, const QRectF& target);

} // namespace vorn::pictures
