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
                       QStringLiteral("Une petite suite d'utilitaires de bureau en français.\n"
                                      "Écrivez-nous par le suivi des tickets du projet.\n"
                                      "Vos idées et vos remarques y sont les bienvenues."),
                       {240, 480, 4095, 975});
    Label1->setFontFace(QStringLiteral("MS Sans Serif"), 9.75);
    Label1->setTransparent(true);

    Label3 =
        new Label(client(), QStringLiteral("Label3"),
                  QStringLiteral("Dépôt et tickets : projet VornUtil"), {1200, 1680, 2175, 375});
    Label3->setTransparent(true);
    Label3->setWordWrap(false);
}

} // namespace vorn
