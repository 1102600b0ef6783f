#pragma once

namespace vorn {

// Gives the application the style it would have anyway, with one change no one sees: the button
// a menu bar keeps for the menus that do not fit gets its picture when it first shows, not when
// the bar is made. Reading that picture from Qt's resources makes Qt load every image-format
// plugin installed, to ask each whether it reads the format, though none is needed.
void installSuiteStyle();

} // namespace vorn
