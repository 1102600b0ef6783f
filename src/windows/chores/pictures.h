#pragma once

#include "platform/picture.h"

// The chore lottery's decorations, drawn by code into whatever rectangle they are given.
namespace vorn::pictures {

void hearts(QPainter& painter, const QRectF& target);     // two hearts, one for each partner
void car(QPainter& painter, const QRectF& target);        // a small blue car
void dog(QPainter& painter, const QRectF& target);        // a brown dog's head
void plates(QPainter& painter, const QRectF& target);     // a stack of plates to wash
void bin(QPainter& painter, const QRectF& target);        // a dustbin with its lid
void pan(QPainter& painter, const QRectF& target);        // a frying pan with an egg
void bed(QPainter& painter, const QRectF& target);        // a bed to make
void babyBottle(QPainter& painter, const QRectF& target); // a baby's bottle of milk

} // namespace vorn::pictures
