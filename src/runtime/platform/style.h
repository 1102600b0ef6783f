#pragma once

namespace vorn {

// Gives the application the style it would have anyway, with two changes no one sees: the button
// a menu bar keeps for the menus that do not fit gets its picture when it first shows, not when
// the bar is made (reading that picture from Qt's resources makes Qt load every image-format
// plugin installed, to ask each whether it reads the format, though none is needed); and each
// standard icon (a box's buttons and message) is made once and shared by every box, as each
// fresh one stays in Qt's pixmap cache after its box is gone.
void installSuiteStyle();

} // namespace vorn
