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

} // namespace vorn
