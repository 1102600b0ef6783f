#include "chores/pictures.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

namespace vorn::pictures {

namespace {

// A heart filling the box (x, y, size, size).
QPainterPath heartPath(qreal x, qreal y, qreal size) {
    QPainterPath path;
    const auto at = [&](qreal u, qreal v) { return QPointF(x + u * size, y + v * size); };
    path.moveTo(at(0.5, 0.25));
    path.cubicTo(at(0.5, 0.0), at(0.0, 0.0), at(0.0, 0.3));
    path.cubicTo(at(0.0, 0.6), at(0.4, 0.75), at(0.5, 1.0));
    path.cubicTo(at(0.6, 0.75), at(1.0, 0.6), at(1.0, 0.3));
    path.cubicTo(at(1.0, 0.0), at(0.5, 0.0), at(0.5, 0.25));
    path.closeSubpath();
    return path;
}

void drawHeart(QPainter& painter, qreal x, qreal y, qreal size, QColor light, QColor dark) {
    QRadialGradient shade(QPointF(x + size * 0.35, y + size * 0.3), size * 0.8);
    shade.setColorAt(0, light);
    shade.setColorAt(1, dark);
    painter.setPen(QPen(dark.darker(150), size / 30.0));
    painter.setBrush(shade);
    painter.drawPath(heartPath(x, y, size));
    // A small gleam on the upper left lobe.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 150));
    painter.drawEllipse(QPointF(x + size * 0.25, y + size * 0.22), size * 0.07, size * 0.045);
}

} // namespace

void hearts(QPainter& painter, const QRectF& target) {
    const PictureGrid grid(painter, target, 100, 100);
    drawHeart(painter, 40, 10, 52, QColor(255, 170, 200), QColor(210, 60, 120));
    drawHeart(painter, 8, 34, 60, QColor(255, 110, 100), QColor(170, 0, 20));
    // An arrow through both.
    painter.setPen(QPen(QColor(120, 80, 30), 2.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(6, 88), QPointF(92, 18));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(120, 80, 30));
    painter.drawPolygon(QPolygonF{QPointF(96, 15), QPointF(86, 18), QPointF(92, 25)});
    painter.setBrush(QColor(230, 230, 230));
    painter.drawPolygon(QPolygonF{QPointF(6, 88), QPointF(1, 86), QPointF(3, 94)});
    painter.drawPolygon(QPolygonF{QPointF(6, 88), QPointF(8, 95), QPointF(12, 90)});
}

void car(QPainter& painter, const QRectF& target) {
    const PictureGrid grid(painter, target, 32, 32);
    const QColor body(40, 90, 200);
    painter.setPen(QPen(body.darker(160), 0.8));
    // The cabin, then the body over its lower edge.
    QPainterPath cabin;
    cabin.moveTo(8, 14);
    cabin.lineTo(11, 7);
    cabin.lineTo(21, 7);
    cabin.lineTo(25, 14);
    cabin.closeSubpath();
    painter.setBrush(body.lighter(115));
    painter.drawPath(cabin);
    painter.setBrush(QColor(190, 225, 255));
    painter.drawPolygon(
        QPolygonF{QPointF(10, 13.5), QPointF(12, 8.5), QPointF(15.5, 8.5), QPointF(15.5, 13.5)});
    painter.drawPolygon(
        QPolygonF{QPointF(17, 13.5), QPointF(17, 8.5), QPointF(20.5, 8.5), QPointF(23.3, 13.5)});
    QLinearGradient shine(QPointF(0, 13), QPointF(0, 23));
    shine.setColorAt(0, body.lighter(140));
    shine.setColorAt(1, body.darker(130));
    painter.setBrush(shine);
    painter.drawRoundedRect(QRectF(2, 13, 28, 9), 3, 3);
    // Lights and wheels.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 230, 90));
    painter.drawEllipse(QRectF(27, 15, 2.5, 2));
    painter.setBrush(QColor(220, 40, 30));
    painter.drawEllipse(QRectF(2.5, 15, 2, 2));
    for (const qreal x : {9.0, 23.0}) {
        painter.setPen(QPen(QColor(20, 20, 20), 0.8));
        painter.setBrush(QColor(40, 40, 40));
        painter.drawEllipse(QPointF(x, 22.5), 4, 4);
        painter.setBrush(QColor(180, 180, 185));
        painter.drawEllipse(QPointF(x, 22.5), 1.8, 1.8);
    }
}

void dog(QPainter& painter, const QRectF& target) {
    const PictureGrid grid(painter, target, 32, 32);
    const QColor fur(185, 125, 65);
    const QColor ear(110, 65, 30);
    painter.setPen(QPen(ear.darker(130), 0.8));
    // Floppy ears behind the head.
    painter.setBrush(ear);
    painter.drawEllipse(QRectF(3, 6, 8, 17));
    painter.drawEllipse(QRectF(21, 6, 8, 17));
    QRadialGradient head(QPointF(14, 12), 14);
    head.setColorAt(0, fur.lighter(125));
    head.setColorAt(1, fur);
    painter.setBrush(head);
    painter.drawEllipse(QRectF(7, 4, 18, 20));
    // Muzzle, tongue, nose and eyes.
    painter.setBrush(QColor(240, 215, 170));
    painter.drawEllipse(QRectF(10.5, 15, 11, 9));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(230, 80, 100));
    painter.drawRoundedRect(QRectF(14.5, 21.5, 3, 5), 1.5, 1.5);
    painter.setBrush(QColor(30, 20, 15));
    painter.drawEllipse(QRectF(13.5, 15.5, 5, 3.5));
    painter.drawEllipse(QPointF(12, 12), 1.5, 1.8);
    painter.drawEllipse(QPointF(20, 12), 1.5, 1.8);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(12.5, 11.4), 0.5, 0.5);
    painter.drawEllipse(QPointF(20.5, 11.4), 0.5, 0.5);
    painter.setPen(QPen(QColor(30, 20, 15), 0.8, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(16, 19), QPointF(16, 21));
}

void plates(QPainter& painter, const QRectF& target) {
    const PictureGrid grid(painter, target, 32, 32);
    // Three plates seen from the side, the top one seen a little from above.
    for (int i = 0; i < 3; ++i) {
        const qreal y = 24 - i * 4.0;
        painter.setPen(QPen(QColor(40, 70, 150), 0.9));
        painter.setBrush(QColor(245, 245, 250));
        painter.drawEllipse(QRectF(3, y - 3, 26, 6));
    }
    painter.setBrush(QColor(215, 225, 240));
    painter.drawEllipse(QRectF(8, 14, 16, 3.5));
    // Soap bubbles.
    painter.setPen(QPen(QColor(90, 160, 220), 0.7));
    painter.setBrush(QColor(200, 235, 255, 140));
    painter.drawEllipse(QPointF(10, 8), 3, 3);
    painter.drawEllipse(QPointF(18, 5), 2.2, 2.2);
    painter.drawEllipse(QPointF(24, 9), 1.6, 1.6);
}

void bin(QPainter& painter, const QRectF& target) {
    const PictureGrid grid(painter, target, 32, 32);
    QLinearGradient metal(QPointF(7, 0), QPointF(25, 0));
    metal.setColorAt(0, QColor(110, 115, 120));
    metal.setColorAt(0.4, QColor(190, 195, 200));
    metal.setColorAt(1, QColor(90, 95, 100));
    painter.setPen(QPen(QColor(50, 55, 60), 0.8));
    painter.setBrush(metal);
    painter.drawPolygon(
        QPolygonF{QPointF(7, 10), QPointF(25, 10), QPointF(23, 30), QPointF(9, 30)});
    for (const qreal x : {12.0, 16.0, 20.0})
        painter.drawLine(QPointF(x, 12), QPointF(x + (x - 16) * 0.1, 28));
    // The lid with its handle.
    painter.drawRoundedRect(QRectF(5, 7, 22, 3.5), 1.2, 1.2);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(50, 55, 60), 1.4));
    painter.drawArc(QRectF(13, 3.5, 6, 6), 0, 180 * 16);
}

void pan(QPainter& painter, const QRectF& target) {
    const PictureGrid grid(painter, target, 32, 32);
    // The handle, then the pan over its end.
    painter.setPen(QPen(QColor(60, 35, 15), 0.8));
    painter.setBrush(QColor(120, 70, 30));
    painter.drawRoundedRect(QRectF(19, 17, 12, 4), 2, 2);
    painter.setPen(QPen(QColor(20, 20, 25), 1.0));
    painter.setBrush(QColor(70, 70, 78));
    painter.drawEllipse(QRectF(1, 7, 22, 22));
    painter.setBrush(QColor(35, 35, 40));
    painter.drawEllipse(QRectF(3.5, 9.5, 17, 17));
    // A fried egg.
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    QPainterPath white;
    white.addEllipse(QRectF(6, 12, 10, 9));
    white.addEllipse(QRectF(9, 15, 9, 8));
    white.setFillRule(Qt::WindingFill); // overlapping parts stay filled
    painter.drawPath(white.simplified());
    QRadialGradient yolk(QPointF(11.5, 16.5), 3);
    yolk.setColorAt(0, QColor(255, 220, 80));
    yolk.setColorAt(1, QColor(245, 160, 0));
    painter.setBrush(yolk);
    painter.drawEllipse(QPointF(12, 17), 2.8, 2.8);
}

void bed(QPainter& painter, const QRectF& target) {
    const PictureGrid grid(painter, target, 32, 32);
    const QColor wood(140, 85, 40);
    painter.setPen(QPen(wood.darker(150), 0.8));
    painter.setBrush(wood);
    painter.drawRoundedRect(QRectF(2, 8, 4, 20), 1, 1); // headboard
    painter.drawRect(QRectF(27, 17, 3, 11));            // footboard
    painter.drawRect(QRectF(5, 21, 23, 3));             // frame
    painter.setBrush(QColor(250, 250, 245));
    painter.drawRoundedRect(QRectF(5, 17, 23, 4.5), 1, 1);  // mattress
    painter.drawRoundedRect(QRectF(6.5, 13.5, 7, 4), 2, 2); // pillow
    // The blanket, rumpled.
    QPainterPath blanket;
    blanket.moveTo(12, 17.5);
    blanket.cubicTo(15, 13.5, 19, 16.5, 22, 14.5);
    blanket.cubicTo(24, 13.8, 26.5, 15, 28, 17.5);
    blanket.lineTo(28, 22);
    blanket.lineTo(12, 22);
    blanket.closeSubpath();
    painter.setPen(QPen(QColor(30, 60, 140), 0.8));
    painter.setBrush(QColor(70, 120, 210));
    painter.drawPath(blanket);
}

void babyBottle(QPainter& painter, const QRectF& target) {
    const PictureGrid grid(painter, target, 32, 32);
    // Teat, ring, then the bottle with its milk.
    painter.setPen(QPen(QColor(170, 120, 60), 0.7));
    painter.setBrush(QColor(235, 190, 120));
    QPainterPath teat;
    teat.moveTo(12.5, 7);
    teat.cubicTo(12.5, 4, 14, 1, 16, 1);
    teat.cubicTo(18, 1, 19.5, 4, 19.5, 7);
    teat.closeSubpath();
    painter.drawPath(teat);
    painter.setPen(QPen(QColor(20, 80, 160), 0.7));
    painter.setBrush(QColor(80, 150, 235));
    painter.drawRoundedRect(QRectF(10, 6.5, 12, 3.5), 1, 1);
    painter.setPen(QPen(QColor(120, 140, 160), 0.8));
    painter.setBrush(QColor(235, 245, 255));
    painter.drawRoundedRect(QRectF(10.5, 10, 11, 20.5), 2.5, 2.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 252, 240));
    painter.drawRoundedRect(QRectF(11.2, 17, 9.6, 12.8), 2, 2);
    painter.setPen(QPen(QColor(80, 150, 235), 0.6));
    for (const qreal y : {14.0, 18.0, 22.0, 26.0})
        painter.drawLine(QPointF(11.5, y), QPointF(14, y));
}

} // namespace vorn::pictures
