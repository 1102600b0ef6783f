#pragma once

#include <QIcon>
#include <QPainter>
#include <QRectF>

namespace vorn {

namespace pictures {
// The application's own icon: a blue launcher tile holding a clock face and a euro coin,
// drawn by code into the square it is given so that it stays sharp at any size. Below
// 32 device pixels the clock's hour marks are left out, as they would only blur.
void applicationIcon(QPainter& painter, const QRectF& target);

// The small pictures of the drive and folder lists, as icons drawn at the size they are
// shown at.
QIcon closedFolder();
QIcon openFolder();
QIcon hardDisk();
QIcon opticalDisc();
} // namespace pictures

// The same picture as a QIcon that draws each pixmap at the size and pixel ratio it is
// asked for; the windows take it as their title-bar and task-bar icon.
QIcon appIcon();

} // namespace vorn
