#pragma once

#include "platform/colourvalue.h"

#include <QColor>
#include <QPalette>

// Colour values turned into the toolkit's colours, system colours resolved from a palette.
namespace vorn {

// The colour a value stands for; system colours come from `palette`.
QColor toQColor(ColourValue value, const QPalette& palette);
QColor toQColor(ColourValue value);
// The light scheme the windows were drawn for: the style's own palette, whatever scheme the
// desktop has. System colours drawn on a ground a window fixes are taken from it.
QPalette classicPalette();
// The plain value of a colour, ignoring alpha.
ColourValue fromQColor(const QColor& colour);
// A system colour resolved to its plain value; plain values pass through.
ColourValue resolved(ColourValue value);

// How far two colours stand apart to the eye, from 1 (the same) to 21 (black and white): the
// ratio of their relative luminances, each lightened by 0.05 for the screen's glare.
double contrastRatio(const QColor& first, const QColor& second);
// A text colour chosen for `classicGround`, shown on `ground` instead: kept where it reads
// there, or where it did not read on the classic ground either (it stands on a picture of its
// own, or is meant faint); else taken toward black or white, whichever stands further from the
// ground, until it reads as well as on the classic ground, up to a comfortable ratio.
QColor readableOn(const QColor& text, const QColor& ground, const QColor& classicGround);

} // namespace vorn
