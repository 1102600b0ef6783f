#include "platform/pictures.h"

#include "platform/picture.h"
#include "platform/pictureicon.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <numbers>

namespace vorn {

namespace pictures {

namespace {

// Everything is drawn on a 64 x 64 grid scaled onto the target square.
constexpr qreal kGrid = 64;
constexpr QRectF kTile(4, 4, 56, 56);
constexpr qreal kTileRadius = 12;
constexpr QPointF kDialCentre(27, 28);
constexpr qreal kDialRadius = 17;
constexpr QPointF kCoinCentre(45, 45);
constexpr qreal kCoinRadius = 13;

// Device pixels from which the finer details are worth drawing.
constexpr qreal kHourMarksFrom = 32;
constexpr qreal kEuroSignFrom = 22;

const QColor kNavy(18, 46, 108);

// The point at `length` from `centre` in the direction of a clock hand at `turns` of a turn.
QPointF handTip(QPointF centre, qreal turns, qreal length) {
    const qreal angle = turns * 2 * std::numbers::pi;
    return centre + QPointF(length * std::sin(angle), -length * std::cos(angle));
}

void tile(QPainter& painter) {
    QPainterPath shape;
    shape.addRoundedRect(kTile, kTileRadius, kTileRadius);

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 46));
    painter.drawPath(shape.translated(0, 1.5));

    QLinearGradient body(kTile.topLeft(), kTile.bottomLeft());
    body.setColorAt(0, QColor(84, 154, 236));
    body.setColorAt(1, QColor(26, 80, 174));
    painter.setPen(QPen(QColor(16, 50, 120), 1.2));
    painter.setBrush(body);
    painter.drawPath(shape);

    // A soft sheen over the upper part of the tile.
    QPainterPath upper;
    upper.addRect(QRectF(kTile.left(), kTile.top(), kTile.width(), kTile.height() * 0.45));
    QLinearGradient sheen(kTile.topLeft(), QPointF(kTile.left(), kTile.top() + 26));
    sheen.setColorAt(0, QColor(255, 255, 255, 70));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(sheen);
    painter.drawPath(shape.intersected(upper));
}

void dial(QPainter& painter, bool hourMarks) {
    QRadialGradient face(kDialCentre - QPointF(5, 6), kDialRadius * 1.6);
    face.setColorAt(0, Qt::white);
    face.setColorAt(1, QColor(214, 226, 244));
    painter.setPen(QPen(kNavy, 3));
    painter.setBrush(face);
    painter.drawEllipse(kDialCentre, kDialRadius, kDialRadius);

    if (hourMarks) {
        for (int hour = 0; hour < 12; ++hour) {
            const bool quarter = hour % 3 == 0;
            const qreal turns = hour / 12.0;
            painter.setPen(
                QPen(QColor(44, 64, 104), quarter ? 2.0 : 1.3, Qt::SolidLine, Qt::FlatCap));
            painter.drawLine(handTip(kDialCentre, turns, quarter ? 11.5 : 12.5),
                             handTip(kDialCentre, turns, 14.6));
        }
    }

    // Ten past ten, the hands opening towards the top of the tile.
    painter.setPen(QPen(kNavy, 3.4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(kDialCentre, handTip(kDialCentre, 10.0 / 12.0, 8.5));
    painter.setPen(QPen(kNavy, 2.4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(kDialCentre, handTip(kDialCentre, 10.0 / 60.0, 12.5));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(214, 64, 48));
    painter.drawEllipse(kDialCentre, 2.3, 2.3);
}

void coin(QPainter& painter, bool euroSign) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 50));
    painter.drawEllipse(kCoinCentre + QPointF(0, 1.2), kCoinRadius, kCoinRadius);

    QRadialGradient gold(kCoinCentre - QPointF(4, 5), kCoinRadius * 1.5);
    gold.setColorAt(0, QColor(255, 230, 128));
    gold.setColorAt(1, QColor(222, 148, 22));
    painter.setPen(QPen(QColor(146, 92, 8), 1.8));
    painter.setBrush(gold);
    painter.drawEllipse(kCoinCentre, kCoinRadius, kCoinRadius);
    if (!euroSign)
        return;

    painter.setPen(QPen(QColor(255, 244, 200, 150), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(kCoinCentre, kCoinRadius - 2.6, kCoinRadius - 2.6);

    // The euro sign: an open arc crossed by two bars.
    const QColor ink(118, 66, 0);
    const QPointF arcCentre = kCoinCentre + QPointF(1.6, 0);
    const qreal arcRadius = 6.4;
    QPainterPath arc;
    const QRectF arcBox(arcCentre - QPointF(arcRadius, arcRadius),
                        QSizeF(2 * arcRadius, 2 * arcRadius));
    arc.arcMoveTo(arcBox, 48);
    arc.arcTo(arcBox, 48, 264);
    painter.setPen(QPen(ink, 2.4, Qt::SolidLine, Qt::FlatCap));
    painter.drawPath(arc);
    painter.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::FlatCap));
    for (qreal dy : {-2.1, 2.1})
        painter.drawLine(QPointF(kCoinCentre.x() - 8.2, kCoinCentre.y() + dy),
                         QPointF(kCoinCentre.x() + 2.2, kCoinCentre.y() + dy));
}

} // namespace

void applicationIcon(QPainter& painter, const QRectF& target) {
    const PictureGrid grid(painter, target, kGrid, kGrid, GridFit::KeepCentred);
    const qreal pixels = painter.deviceTransform().mapRect(QRectF(0, 0, kGrid, kGrid)).width();
    tile(painter);
    dial(painter, pixels >= kHourMarksFrom);
    coin(painter, pixels >= kEuroSignFrom);
}

} // namespace pictures

QIcon appIcon() {
    return pictureIcon(pictures::applicationIcon, {16, 32, 48, 64, 128, 256});
}

} // namespace vorn
