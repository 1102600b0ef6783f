#include "platform/forms.h"
#include "platform/runtime.h"
#include "platform/startenvironment.h"
#include "platform/windowsystem.h"
#include "shell/menu.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    vorn::openMissingStandardStreams();
    const vorn::Session session = vorn::currentSession(argc, argv);
    // Without a window system Qt would end the program by a crash, saying to reinstall it.
    if (!vorn::displayReachable(session)) {
        std::fputs("vornutil : aucun affichage graphique n'est accessible ; lancez VornUtil depuis "
                   "une session graphique.\n",
                   stderr);
        return 1;
    }
    vorn::choosePlatform(session);
    vorn::keepToolkitBridgeOut();
    QApplication app(argc, argv);
    vorn::Runtime runtime(app);
    vorn::Forms::instance().show<vorn::Menu>();
    return QApplication::exec();
}
