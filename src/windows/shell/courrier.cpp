#include "shell/courrier.h"

#include "platform/controls.h"

namespace vorn {

Courrier::Courrier()
    : Form(QStringLiteral("Courrier"), QStringLiteral("Mes coordonnées"), QSizeF(4605, 1980)) {
    auto* title = new Label(client(), {"Label2", "Le projet VornUtil", {960, 0, 2775, 375}});
    title->setForeColor(rgb(0, 0, 255));
    title->setFontFace(QStringLiteral("Comic Sans MS"), 14.25);
    title->setTransparent(true);
    title->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    auto* about = new Label(client(), {"Label1",
                                       "Suite d'utilitaires de bureau en français.\n"
                                       "Remarques et idées : ouvrez un ticket\n"
                                       "dans le suivi du projet VornUtil.",
                                       {240, 480, 4095, 975}});
    about->setFontFace(QStringLiteral("MS Sans Serif"), 9.75);
    about->setTransparent(true);

    auto* tickets =
        new Label(client(), {"Label3", "Tickets : dépôt VornUtil", {1200, 1680, 2175, 375}});
    tickets->setTransparent(true);
    tickets->setWordWrap(false);

    // Its text is its point, and it offers nothing to act on: a screen reader reads the text
    // with the title as the window opens, one sentence a label, the lines of each run together.
    QStringList sentences;
    for (const Label* label : {title, about, tickets}) {
        const QString text = label->text().simplified();
        sentences.append(text.endsWith(QLatin1Char('.')) ? text : text + QLatin1Char('.'));
    }
    setAccessibleDescription(sentences.join(QLatin1Char(' ')));
}

} // namespace vorn
