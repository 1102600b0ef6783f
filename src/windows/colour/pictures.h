#pragma once

#include <QPainter>
#include <QRectF>

namespace vorn::pictures {

// The colour window's icon: a painter's palette with six dabs of paint and a brush, drawn
// on a 32 x 32 grid in the sixteen classic colours. It keeps its square shape, drawn at the
// top-left of a wider or taller target.
void paletteIcon(QPainter& painter, const QRectF& target);

} // namespace vorn::pictures
