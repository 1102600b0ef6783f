#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

// The font families the windows ask for, mapped onto free fonts installed with the suite.
namespace vorn {

struct FontSubstitution {
    const char* requested;
    const char* substitutes; // comma-separated, in order of preference
};

// Every family name the windows use, in the order they are substituted.
QStringList requestedFontFamilies();
// Installs the substitutions; call once after the application object exists.
void installFontSubstitutions();
// The font of controls whose window names none: MS Sans Serif 8.25 pt, the classic dialog
// font, so captions sized for it fit their buttons and options.
QFont dialogFont();

} // namespace vorn
