#include "platform/runtime.h"

#include "platform/accessibility.h"
#include "platform/conversions.h"
#include "platform/fonts.h"
#include "platform/forms.h"
#include "platform/pictures.h"
#include "platform/style.h"
#include "platform/windowsystem.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace vorn {

Runtime::Runtime(QApplication& app, QuitRule rule)
    : QObject(&app) {
    // The application has its window system now; what the suite asked for is its own.
    forgetChosenPlatform();
    QApplication::setApplicationName(QStringLiteral("VornUtil"));
    // No display name: the window system would append it to every title bar. The name
    // belongs to the desktop entry.
    QApplication::setApplicationVersion(QStringLiteral("1.0.0"));
    // The desktop entry and the icon are installed under this id (see data/).
    QApplication::setDesktopFileName(QStringLiteral(VORN_APP_ID));
    QApplication::setWindowIcon(appIcon());
    QApplication::setQuitOnLastWindowClosed(false);
    QLocale::setDefault(regionalLocale());

    auto* translator = new QTranslator(this);
    if (translator->load(QLocale(QLocale::French, QLocale::France), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);

    installFontSubstitutions();
    installSuiteStyle();
    installAccessibility();

    if (rule == QuitRule::QuitWhenNoWindow) {
        connect(&Forms::instance(), &Forms::lastFormUnloaded, &app, &QCoreApplication::quit,
                Qt::QueuedConnection);
    }
}

Runtime::~Runtime() {
    Forms::instance().destroyAll();
    disconnect(&Forms::instance(), nullptr, parent(), nullptr);
}

} // namespace vorn
