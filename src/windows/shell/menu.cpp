#include "shell/menu.h"

#include "chores/mariage.h"
#include "chronology/main.h"
#include "clock/horloge.h"
#include "colour/color.h"
#include "euro/vorneuro.h"
#include "files/recherche.h"
#include "platform/accessibility.h"
#include "platform/forms.h"
#include "platform/services.h"
#include "shell/courrier.h"
#include "shell/pictures.h"
#include "shell/readypictures.h"
#include "shell/splashfin.h"
#include "shell/tetris.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include <array>

namespace vorn {

namespace {

struct TopEntry {
    const char* name;
    const char* caption;
};

constexpr std::array kTopEntries{
    TopEntry{"file", "Fichier"},    TopEntry{"Utiliaires", "Utiliaires"},
    TopEntry{"Détente", "Détente"}, TopEntry{"farces", "Farces"},
    TopEntry{"index", "?"},
};

// One menu entry: the top entry it belongs to, its name, caption, shortcut and handler.
struct MenuEntry {
    int top;
    const char* name;
    const char* caption;
    const char* shortcut;
    void (Menu::*handler)();
};

const std::array kMenuEntries{
    MenuEntry{0, "dos", "MS-DOS", "Ctrl+M", &Menu::dos_Click},
    MenuEntry{0, "conf", "Panneau", "Ctrl+P", &Menu::conf_Click},
    MenuEntry{0, "prog", "Program Configuration", nullptr, &Menu::prog_Click},
    MenuEntry{0, "gest", "Gestionnaire tâches", nullptr, &Menu::gest_Click},
    MenuEntry{1, "Horl", "Horloge", "Ctrl+H", &Menu::Horl_Click},
    MenuEntry{1, "Pat", "Patriarches", "F11", &Menu::Pat_Click},
    MenuEntry{1, "rech", "Recherche", "Ctrl+R", &Menu::rech_Click},
    MenuEntry{1, "Hexa", "Hexa-Couleurs", "F12", &Menu::Hexa_Click},
    MenuEntry{1, "conv", "Convertisseur", "Ctrl+C", &Menu::conv_Click},
    MenuEntry{2, "mari", "Zamours", "Ctrl+Z", &Menu::mari_Click},
    MenuEntry{3, "tétr", "Tétris", "Ctrl+T", &Menu::tetr_Click},
    MenuEntry{4, "coord", "A propos de...", "Ctrl+A", &Menu::coord_Click},
};

} // namespace

Menu::Menu()
    : Form(QStringLiteral("Menu"), QStringLiteral("VornUtil"), QSizeF(4005, 765)) {
    // The launcher is the first window: its icon, texture and close picture come ready.
    ready::useBuiltInPictures();
    // The window shows the same texture behind Bouch: where the frame metrics leave Bouch
    // short of the client's edges, the picture carries on without a seam.
    setBackColor(rgb(30, 72, 156));
    setBackgroundPicture(pictures::blueTexture, BackgroundMode::Stretch);
    // The window opens with the focus on none of its controls: a screen reader says how to go on.
    setAccessibleDescription(
        QStringLiteral("La touche Alt ouvre les menus des outils ; Tab mène à Fermer."));

    std::array<QMenu*, kTopEntries.size()> tops{};
    for (std::size_t i = 0; i < kTopEntries.size(); ++i) {
        tops[i] = menuBar()->addMenu(QString::fromUtf8(kTopEntries[i].caption));
        tops[i]->setObjectName(QString::fromUtf8(kTopEntries[i].name));
        tops[i]->setAccessibleName(tops[i]->title());
        tops[i]->menuAction()->setObjectName(QString::fromUtf8(kTopEntries[i].name));
    }
    for (const MenuEntry& entry : kMenuEntries) {
        QAction* action =
            tops[static_cast<std::size_t>(entry.top)]->addAction(QString::fromUtf8(entry.caption));
        action->setObjectName(QString::fromUtf8(entry.name));
        // Menu entries are owned by the window, so it can find each by name.
        action->setParent(this);
        if (entry.shortcut) {
            action->setShortcut(QKeySequence(QString::fromLatin1(entry.shortcut)));
            action->setShortcutContext(Qt::WindowShortcut);
            addAction(action);
        }
        connect(action, &QAction::triggered, this, handler(entry.handler));
    }
    // The strip is as wide as its top entries need in the desktop's menu font: in a font larger
    // than the one it was drawn for, the last ones would hide behind the overflow button.
    if (const int needed = menuBar()->sizeHint().width(); needed > width())
        resize(needed, height());

    Bouch = new Image(client(), {"Bouch", nullptr, {0, 0, 4005, 765}});
    setDecorative(Bouch);
    Bouch->setPicture([this](QPainter& painter, const QRectF&) {
        pictures::blueTexture(painter, QRectF(-QPointF(Bouch->pos()), QSizeF(client()->size())));
    });
    auto* Label1 = new Label(client(), {"Label1", "Fermer", {720, 240, 975, 255}});
    Label1->setTransparent(true);
    Label1->setForeColor(rgb(255, 255, 0));
    Label1->setFontFace(QStringLiteral("MS Sans Serif"), 12, true);
    Label1->setAttribute(Qt::WA_TransparentForMouseEvents);
    Image1 = new Image(client(), {"Image1", nullptr, {120, 120, 480, 480}}, pictures::closeIcon);
    Image1->setClickable(QStringLiteral("Fermer"));
    // The caption beside the picture names it for assistive tools.
    Label1->setBuddy(Image1);
    connect(Image1, &Image::Click, this, handler(&Menu::Image1_Click));
}

QAction* Menu::action(const QString& name) const {
    return findChild<QAction*>(name, Qt::FindDirectChildrenOnly);
}

void Menu::dos_Click() {
    startHostProgram(HostProgram::CommandPrompt);
}

void Menu::conf_Click() {
    startHostProgram(HostProgram::ControlPanel);
}

void Menu::prog_Click() {
    startHostProgram(HostProgram::ProgramManager);
}

void Menu::gest_Click() {
    startHostProgram(HostProgram::TaskManager);
}

void Menu::Horl_Click() {
    Forms::instance().show<Horloge>();
}

void Menu::Pat_Click() {
    Forms::instance().show<Main>();
}

void Menu::rech_Click() {
    Forms::instance().show<Recherche>();
}

void Menu::Hexa_Click() {
    Forms::instance().show<Color>();
}

void Menu::conv_Click() {
    Forms::instance().show<VornEuro>();
}

void Menu::mari_Click() {
    Forms::instance().show<Mariage>();
}

void Menu::tetr_Click() {
    Forms::instance().show<Tetris>();
}

void Menu::coord_Click() {
    Forms::instance().show<Courrier>();
}

void Menu::Image1_Click() {
    Forms::instance().hideForm(this);
    Forms::instance().show<SplashFin>();
}

void Menu::paintBackground(QPainter& painter, const QRect& area) {
    Form::paintBackground(painter, area);
    // A zero timer runs once the events already queued have been handled, after this paint.
    if (!m_preparing) {
        m_preparing = true;
        QTimer::singleShot(0, this, &Menu::preparePictures);
    }
}

void Menu::preparePictures() {
    Main::preparePictures(devicePixelRatioF());
}

void Menu::Form_Resize() {
    Bouch->setWidth(Width() - 125.0f);
    Bouch->setHeight(Height() - 725.0f);
}

} // namespace vorn
