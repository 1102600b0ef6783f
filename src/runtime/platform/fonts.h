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
// It names the installed family that stands for the one asked for, so that the font is
// found at once: asked for by a family that is not installed, Qt would first query the
// system for fallback families, twice, for each family and style. Glyphs the face lacks
// still fall back to other installed fonts.
QFont makeFont(const QString& family, double points, bool bold = false);
// The installed family that stands for `family`: the first of its substitutes installed, or
// the family itself when it has no substitution or none of them is installed.
QString installedFamily(const QString& family);
// The family of the dialog font, as the windows ask for it.
QString dialogFontFamily();

} // namespace vorn
