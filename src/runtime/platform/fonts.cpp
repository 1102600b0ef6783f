#include "platform/fonts.h"

#include <QFont>

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
        QFont::insertSubstitutions(family,
                                   QString::fromLatin1(entry.substitutes).split(QLatin1Char(',')));
    }
}

QFont makeFont(const QString& family, double points, bool bold) {
    QFont font(family);
    font.setPointSizeF(points);
    bool heavy = false;
    for (const auto& entry : kSubstitutions)
        heavy = heavy || (entry.heavy && family == QLatin1String(entry.requested));
    font.setBold(bold || heavy);
    return font;
}

QFont dialogFont() {
    return makeFont(QStringLiteral("MS Sans Serif"), 8.25);
}

} // namespace vorn
