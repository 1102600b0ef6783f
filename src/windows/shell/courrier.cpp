#include "shell/courrier.h"

namespace vorn {

Courrier::Courrier()
    : Form(QStringLiteral("Courrier"), QStringLiteral("Mes coordonnées"), QSizeF(4605, 1980)) {
    Label2 = new Label(client(), QStringLiteral("Label2"), QStringLiteral("Le projet VornUtil"),
                       {960, 0, 2775, 375});
    Label2->setForeColor(rgb(0, 0, 255));
    Label2->setFontFace(QStringLiteral("Comic Sans MS"), 14.25);
    Label2->setTransparent(true);
    Label2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    Label1 = new Label(client(), QStringLiteral("Label1"),
                       QStringLiteral("Suite d'utilitaires de bureau en français.\n"
                                      "Remarques et idées : ouvrez un ticket\n"
                                      "dans le suivi du projet VornUtil."),
                       {240, 480, 4095, 975});
    Label1->setFontFace(QStringLiteral("MS Sans Serif"), 9.75);
    Label1->setTransparent(true);

    Label3 = new Label(client(), QStringLiteral("Label3"),
                       QStringLiteral("Tickets : dépôt VornUtil"), {1200, 1680, 2175, 375});
    Label3->setTransparent(true);
    Label3->setWordWrap(false);
}

} // namespace vorn
