#include "colour/pictures.h"

#include "platform/picture.h"

#include <QPainterPath>

#include <algorithm>
#include <array>

namespace vorn::pictures {

namespace {

struct Dab {
    QPointF centre;
    QColor colour;
};

// The paint on the palette, around its thumb hole.
const std::array kDabs{
    Dab{{9.0, 10.0}, QColor(255, 0, 0)},    // red
    Dab{{15.5, 7.0}, QColor(255, 255, 0)},  // yellow
    Dab{{22.0, 8.5}, QColor(0, 255, 0)},    // lime
    Dab{{26.0, 14.0}, QColor(0, 255, 255)}, // aqua
    Dab{{23.5, 19.5}, QColor(0, 0, 255)},   // blue
    Dab{{7.0, 17.0}, QColor(255, 0, 255)},  // fuchsia
};

} // namespace

void paletteIcon(QPainter& painter, const QRectF& target) {
    const PictureGrid grid(painter, target, 32, 32, GridFit::KeepTopLeft);

    // The board: a rounded body with a notch on its lower edge and a hole for the thumb. The
    // outline is cut at eight times the grid, so its curves stay smooth when enlarged.
    constexpr qreal fine = 8.0;
    const QTransform toFine = QTransform::fromScale(fine, fine);
    QPainterPath body;
    body.addEllipse(QRectF(1.5, 3.0, 29.0, 23.0));
    QPainterPath notch;
    notch.addEllipse(QRectF(11.0, 20.0, 9.0, 8.0));
    QPainterPath board = toFine.map(body).subtracted(toFine.map(notch));
    board.addEllipse(toFine.mapRect(QRectF(13.0, 14.0, 5.0, 4.5)));
    board.setFillRule(Qt::OddEvenFill);
    painter.save();
    painter.scale(1.0 / fine, 1.0 / fine);
    painter.setPen(QPen(QColor(128, 128, 0), fine));
    painter.setBrush(QColor(192, 192, 192));
    painter.drawPath(board);
    painter.restore();

    painter.setPen(QPen(QColor(128, 128, 128), 0.6));
    for (const Dab& dab : kDabs) {
        painter.setBrush(dab.colour);
        painter.drawEllipse(dab.centre, 2.6, 2.3);
    }

    // The brush, across the lower right: handle, ferrule and a tip wet with red paint.
    painter.translate(24.0, 26.0);
    painter.rotate(-40.0);
    painter.setPen(QPen(QColor(0, 0, 0), 0.6));
    painter.setBrush(QColor(128, 0, 0));
    painter.drawRoundedRect(QRectF(0.0, -1.2, 9.0, 2.4), 1.2, 1.2);
    painter.setBrush(QColor(128, 128, 128));
    painter.drawRect(QRectF(-3.0, -1.4, 3.0, 2.8));
    QPainterPath tip;
    tip.moveTo(-3.0, -1.4);
    tip.cubicTo(-5.5, -1.4, -7.0, -0.3, -8.0, 0.0);
    tip.cubicTo(-7.0, 0.3, -5.5, 1.4, -3.0, 1.4);
    tip.closeSubpath();
    painter.setBrush(QColor(255, 0, 0));
    painter.drawPath(tip);
}

} // namespace vorn::pictures
