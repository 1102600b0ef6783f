#include "shell/catalogue.h"

#include "chores/mariage.h"
#include "chronology/main.h"
#include "clock/horloge.h"
#include "colour/color.h"
#include "euro/vorneuro.h"
#include "files/recherche.h"
#include "platform/forms.h"
#include "shell/courrier.h"
#include "shell/menu.h"
#include "shell/splashfin.h"
#include "shell/tetris.h"

#include <array>

namespace vorn {

namespace {

// Shows the window of type T, loading it first if needed.
template <class T> Form* showWindow() {
    return Forms::instance().show<T>();
}

constexpr std::array kWindows{
    WindowEntry{"Menu", &showWindow<Menu>},
    WindowEntry{"SplashFin", &showWindow<SplashFin>},
    WindowEntry{"Courrier", &showWindow<Courrier>},
    WindowEntry{"Tétris", &showWindow<Tetris>},
    WindowEntry{"MARIAGE", &showWindow<Mariage>},
    WindowEntry{"Main", &showWindow<Main>},
    WindowEntry{"VornEuro", &showWindow<VornEuro>},
    WindowEntry{"Color", &showWindow<Color>},
    WindowEntry{"Horloge", &showWindow<Horloge>},
    WindowEntry{"Recherche", &showWindow<Recherche>},
};

} // namespace

std::span<const WindowEntry> windowCatalogue() {
    return kWindows;
}

const WindowEntry* findWindow(QStringView name) {
    for (const WindowEntry& entry : kWindows) {
        if (name == QString::fromUtf8(entry.name))
            return &entry;
    }
    return nullptr;
}

} // namespace vorn
