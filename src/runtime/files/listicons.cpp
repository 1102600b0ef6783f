#include "files/listicons.h"

#include "platform/pictureicon.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

namespace vorn::listicons {

namespace {

const QColor kFolderLight(250, 214, 110);
const QColor kFolderDark(214, 160, 40);
const QColor kFolderEdge(150, 104, 20);

void drawClosedFolder(QPainter& painter, const QRectF& target) {
    const PictureGrid grid(painter, target, 16, 16, GridFit::KeepCentred);
    QPainterPath tab;
    tab.moveTo(1.5, 4);
    tab.lineTo(1.5, 3);
    tab.lineTo(2.5, 2);
    tab.lineTo(6, 2);
    tab.lineTo(7, 3.5);
    tab.lineTo(14.5, 3.5);
    tab.lineTo(14.5, 5);
    painter.setPen(QPen(kFolderEdge, 0.8));
    painter.setBrush(kFolderDark);
    painter.drawPath(tab);
    QLinearGradient body(0, 4, 0, 14);
    body.setColorAt(0, kFolderLight);
    body.setColorAt(1, kFolderDark);
    painter.setBrush(body);
    painter.drawRoundedRect(QRectF(1.5, 4.5, 13, 9.5), 1, 1);
}

void drawOpenFolder(QPainter& painter, const QRectF& target) {
    const PictureGrid grid(painter, target, 16, 16, GridFit::KeepCentred);
    painter.setPen(QPen(kFolderEdge, 0.8));
    painter.setBrush(kFolderDark);
    QPainterPath back;
    back.moveTo(1.5, 14);
    back.lineTo(1.5, 3);
    back.lineTo(2.5, 2);
    back.lineTo(6, 2);
    back.lineTo(7, 3.5);
    back.lineTo(13.5, 3.5);
    back.lineTo(13.5, 7);
    painter.drawPath(back);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255));
    painter.drawRect(QRectF(3.5, 5, 8.5, 3)); // a sheet inside
    QLinearGradient flap(0, 7, 0, 14);
    flap.setColorAt(0, kFolderLight);
    flap.setColorAt(1, kFolderDark);
    QPainterPath front;
    front.moveTo(1.5, 14);
    front.lineTo(4, 7);
    front.lineTo(15.5, 7);
    front.lineTo(13, 14);
    front.closeSubpath();
    painter.setPen(QPen(kFolderEdge, 0.8));
    painter.setBrush(flap);
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

} // namespace

QIcon closedFolder() {
    static const QIcon icon = pictureIcon(drawClosedFolder);
    return icon;
}

QIcon openFolder() {
    static const QIcon icon = pictureIcon(drawOpenFolder);
    return icon;
}

QIcon hardDisk() {
    static const QIcon icon = pictureIcon(drawHardDisk);
    return icon;
}

QIcon opticalDisc() {
    static const QIcon icon = pictureIcon(drawOpticalDisc);
    return icon;
}

} // namespace vorn::listicons
