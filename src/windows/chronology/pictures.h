#pragma once

#include "platform/picture.h"

// The chronology window's pictures, drawn by code into whatever rectangle they are given.
namespace vorn::pictures {

void parchment(QPainter& painter, const QRectF& target);   // window background, aged paper
void desertScene(QPainter& painter, const QRectF& target); // dunes, palms and a caravan at dusk

// The parchment's own size: the window shows it at that size in its top-left corner.
constexpr QSizeF kParchmentSize(512, 512);
} // namespace vorn::pictures
