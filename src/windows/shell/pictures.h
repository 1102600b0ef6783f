#pragma once

#include "platform/picture.h"

// The shell's pictures, drawn by code into whatever rectangle they are given.
namespace vorn::pictures {

void blueTexture(QPainter& painter, const QRectF& target); // main window background
// The texture blueTexture stretches, drawn now at `pixels`: a blue gradient with soft flecks.
QImage drawnTexture(QSize pixels);
void closeIcon(QPainter& painter, const QRectF& target);   // white cross on a red disc
void infoIcon(QPainter& painter, const QRectF& target);    // white "i" on a dark blue disc
void spannerIcon(QPainter& painter, const QRectF& target); // grey spanner
void exitIcon(QPainter& painter, const QRectF& target);    // figure leaving by a dark door

} // namespace vorn::pictures
