#include "platform/fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QHash>

#include <algorithm>
#include <array>

namespace vorn {

namespace {

constexpr std::array kSubstitutions{
    FontSubstitution{"MS Sans Serif", "Liberation Sans,DejaVu Sans"},
    FontSubstitution{"MS Serif", "Liberation Serif,DejaVu Serif"},
    FontSubstitution{"Comic Sans MS", "Comic Neue,DejaVu Sans"},
    FontSubstitution{"Arial Black", "DejaVu Sans,Liberation Sans", true},
    FontSubstitution{"Arial Narrow", "Liberation Sans Narrow,DejaVu Sans"},
    FontSubstitution{"Impact", "Liberation Sans Narrow,DejaVu Sans", true},
    FontSubstitution{"Verdana", "DejaVu Sans,Liberation Sans"},
    FontSubstitution{"Times New Roman", "Liberation Serif,DejaVu Serif"},
    FontSubstitution{"Modern", "DejaVu Sans Mono,Liberation Mono"},
    FontSubstitution{"Arial Alternative", "Liberation Sans,DejaVu Sans"},
    FontSubstitution{"Arial", "Liberation Sans,DejaVu Sans"},
};

// The families that stand in for the one `entry` asks for, in the order they are tried.
QStringList substitutesOf(const FontSubstitution& entry) {
    return QString::fromLatin1(entry.substitutes).split(QLatin1Char(','));
}

} // namespace

QStringList requestedFontFamilies() {
    QStringList families;
    for (const auto& entry : kSubstitutions)
        families.append(QString::fromLatin1(entry.requested));
    return families;
}

void installFontSubstitutions() {
    for (const auto& entry : kSubstitutions) {
        const QString family = QString::fromLatin1(entry.requested);
        QFont::removeSubstitutions(family);
        QFont::insertSubstitutions(family, substitutesOf(entry));
    }
}

QString installedFamily(const QString& family) {
    // Looked up once: the font database knows the installed families for the whole run.
    static const QHash<QString, QString> installed = [] {
        const QStringList families = QFontDatabase::families();
        QHash<QString, QString> table;
        for (const auto& entry : kSubstitutions) {
            const QStringList substitutes = substitutesOf(entry);
            const auto found =
                std::find_if(substitutes.begin(), substitutes.end(),
                             [&families](const QString& s) { return families.contains(s); });
            if (found != substitutes.end())
                table.insert(QString::fromLatin1(entry.requested), *found);
        }
        return table;
    }();
    return installed.value(family, family);
}

QFont makeFont(const QString& family, double points, bool bold) {
    QFont font(installedFamily(family));
    font.setPointSizeF(points);
    bool heavy = false;
    for (const auto& entry : kSubstitutions)
        heavy = heavy || (entry.heavy && family == QLatin1String(entry.requested));
    font.setBold(bold || heavy);
    return font;
}

QString dialogFontFamily() {
    return QStringLiteral("MS Sans Serif");
}

QFont dialogFont() {
    return makeFont(dialogFontFamily(), 8.25);
}

} // namespace vorn
