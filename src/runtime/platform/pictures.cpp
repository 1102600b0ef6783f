#include "platform/pictures.h"

#include "platform/picture.h"
#include "platform/pictureicon.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QPolygonF>
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

// The list icons, each on a 16 x 16 grid kept square and centred.
const QColor kFolderLight(250, 214, 110);
const QColor kFolderDark(214, 160, 40);
const QColor kFolderEdge(150, 104, 20);

// The folder's face, lit from the top at `top` down to its foot.
QLinearGradient folderFace(qreal top) {
    QLinearGradient face(0, top, 0, 14);
    face.setColorAt(0, kFolderLight);
    face.setColorAt(1, kFolderDark);
    return face;
}

void drawClosedFolder(QPainter& painter, const QRectF& target) {
    const PictureGrid grid(painter, target, 16, 16, GridFit::KeepCentred);
    QPainterPath tab;
    tab.addPolygon(
        QPolygonF{{1.5, 4}, {1.5, 3}, {2.5, 2}, {6, 2}, {7, 3.5}, {14.5, 3.5}, {14.5, 5}});
    painter.setPen(QPen(kFolderEdge, 0.8));
    painter.setBrush(kFolderDark);
    painter.drawPath(tab);
    painter.setBrush(folderFace(4));
    painter.drawRoundedRect(QRectF(1.5, 4.5, 13, 9.5), 1, 1);
}

void drawOpenFolder(QPainter& painter, const QRectF& target) {
    const PictureGrid grid(painter, target, 16, 16, GridFit::KeepCentred);
    painter.setPen(QPen(kFolderEdge, 0.8));
    painter.setBrush(kFolderDark);
    QPainterPath back;
    back.addPolygon(
        QPolygonF{{1.5, 14}, {1.5, 3}, {2.5, 2}, {6, 2}, {7, 3.5}, {13.5, 3.5}, {13.5, 7}});
    painter.drawPath(back);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255));
    painter.drawRect(QRectF(3.5, 5, 8.5, 3)); // a sheet inside
    QPainterPath front;
    front.addPolygon(QPolygonF{{1.5, 14}, {4, 7}, {15.5, 7}, {13, 14}});
    front.closeSubpath();
    painter.setPen(QPen(kFolderEdge, 0.8));
    painter.setBrush(folderFace(7));
    painter.drawPath(front);
}

void drawHardDisk(QPainter& painter, const QRectF& target) {
    const PictureGrid grid(painter, target, 16, 16, GridFit::KeepCentred);
    QLinearGradient case_(0, 5, 0, 12);
    case_.setColorAt(0, QColor(226, 228, 232));
    case_.setColorAt(1, QColor(150, 154, 162));
    painter.setPen(QPen(QColor(90, 94, 102), 0.8));
    painter.setBrush(case_);
    painter.drawRoundedRect(QRectF(1, 5, 14, 7), 1.5, 1.5);
    painter.setPen(QPen(QColor(110, 114, 122), 0.6));
    painter.drawLine(QPointF(3, 9.8), QPointF(9, 9.8));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(60, 200, 80));
    painter.drawEllipse(QRectF(11.2, 8.8, 2, 2));
}

void drawOpticalDisc(QPainter& painter, const QRectF& target) {
    const PictureGrid grid(painter, target, 16, 16, GridFit::KeepCentred);
    QRadialGradient shine(QPointF(6, 6), 8);
    shine.setColorAt(0, QColor(245, 245, 250));
    shine.setColorAt(0.6, QColor(190, 200, 225));
    shine.setColorAt(1, QColor(160, 170, 200));
    painter.setPen(QPen(QColor(100, 106, 130), 0.8));
    painter.setBrush(shine);
    QPainterPath disc;
    disc.addEllipse(QRectF(1, 1, 14, 14));
    disc.addEllipse(QRectF(6.5, 6.5, 3, 3));
    painter.drawPath(disc);
}

// Each list icon is made once and shared by every row and list that shows it.
template <void (*Draw)(QPainter&, const QRectF&)> QIcon sharedIcon() {
    static const QIcon icon = pictureIcon(Draw);
    return icon;
}

} // namespace

void applicationIcon(QPainter& painter, const QRectF& target) {
    const PictureGrid grid(painter, target, kGrid, kGrid, GridFit::KeepCentred);
    const qreal pixels = painter.deviceTransform().mapRect(QRectF(0, 0, kGrid, kGrid)).width();
    tile(painter);
    dial(painter, pixels >= kHourMarksFrom);
    coin(painter, pixels >= kEuroSignFrom);
}

QIcon closedFolder() {
    return sharedIcon<drawClosedFolder>();
}

QIcon openFolder() {
    return sharedIcon<drawOpenFolder>();
}

QIcon hardDisk() {
    return sharedIcon<drawHardDisk>();
}

QIcon opticalDisc() {
    return sharedIcon<drawOpticalDisc>();
}

} // namespace pictures

QIcon appIcon() {
    // The sizes a title bar and a task switcher use. Every window hands each announced size
    // to the window system as it opens (a 256-pixel one alone is a quarter of a megabyte);
    // the desktop takes its larger icons from the installed theme.
    return pictureIcon(pictures::applicationIcon, {16, 32, 48});
}

} // namespace vorn
