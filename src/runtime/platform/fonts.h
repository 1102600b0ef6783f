#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

// The font families the windows ask for, mapped onto free fonts installed with the suite.
namespace vorn {

struct FontSubstitution {
    const char* requested;
    const char* substitutes; // comma-separated, in order of preference
    bool heavy = false;      // a family drawn heavy by nature: its substitute is taken bold
};

// Every family name the windows use, in the order they are substituted.
QStringList requestedFontFamilies();
// Installs the substitutions; call once after the application object exists.
void installFontSubstitutions();
// The font of controls whose window names none: MS Sans Serif 8.25 pt, the classic dialog
// font, so captions sized for it fit their buttons and options.
QFont dialogFont();
// The font a control asks for by family, size and boldness; families that are heavy by
// nature ("Arial Black", "Impact") come out bold, since their substitutes are regular faces.
QFont makeFont(const QString& family, double points, bool bold = false);

} // namespace vorn
