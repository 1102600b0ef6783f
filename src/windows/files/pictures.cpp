#include "files/pictures.h"

#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>

#include <array>

namespace vorn::pictures {

namespace {

// A sheet lying on the background, by its top-left corner and its tilt in degrees.
struct Sheet {
    qreal x, y, angle;
};

constexpr std::array kSheets{Sheet{80, 8, -12}, Sheet{88, 30, 9}, Sheet{74, 44, -4}, Sheet{4, 4, 8},
                             Sheet{40, 52, -10}};

// A page with its top-right corner folded, and its lines of writing.
void sheet(QPainter& painter, const Sheet& place) {
    painter.save();
    painter.translate(place.x, place.y);
    painter.rotate(place.angle);
    QPainterPath page;
    page.addPolygon(QPolygonF{{0, 0}, {7, 0}, {9, 2}, {9, 11}, {0, 11}});
    page.closeSubpath();
    painter.drawPath(page);
    for (qreal line = 3.5; line < 10; line += 1.8)
        painter.drawLine(QPointF(1.5, line), QPointF(7.5, line));
    painter.restore();
}

} // namespace

void fileSearch(QPainter& painter, const QRectF& target) {
    fillDiagonal(painter, target,
                 {{0, QColor(14, 58, 74)}, {0.55, QColor(20, 44, 92)}, {1, QColor(10, 24, 58)}});
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QRadialGradient glow(target.topLeft() + QPointF(target.width() * 0.2, 0), target.width() * 0.6);
    glow.setColorAt(0, QColor(120, 200, 220, 70));
    glow.setColorAt(1, QColor(120, 200, 220, 0));
    painter.fillRect(target, glow);
    painter.restore();

    // A 100 x 60 grid, so the drawing follows the window's shape.
    const PictureGrid grid(painter, target, 100, 60);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(190, 225, 240, 38), 0.35));
    for (const Sheet& place : kSheets)
        sheet(painter, place);
    painter.setPen(QPen(QColor(200, 235, 250, 48), 1.2));
    painter.drawEllipse(QPointF(62, 40), 9, 9);
    painter.setPen(QPen(QColor(200, 235, 250, 48), 2.4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(68.5, 46.5), QPointF(76, 54));
}

} // namespace vorn::pictures
