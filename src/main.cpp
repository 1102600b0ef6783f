#include "platform/forms.h"
#include "platform/runtime.h"
#include "platform/startenvironment.h"
#include "platform/windowsystem.h"
#include "shell/menu.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    vorn::openMissingStandardStreams();
    vorn::choosePlatform();
    vorn::keepToolkitBridgeOut();
    QApplication app(argc, argv);
    vorn::Runtime runtime(app);
    vorn::Forms::instance().show<vorn::Menu>();
    return QApplication::exec();
}
