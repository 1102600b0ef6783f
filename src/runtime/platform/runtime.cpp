#include "platform/runtime.h"

#include "platform/accessibility.h"
#include "platform/conversions.h"
#include "platform/fonts.h"
#include "platform/forms.h"
#include "platform/keyboarduse.h"
#include "platform/pictures.h"
#include "platform/startenvironment.h"
#include "platform/style.h"
#include "platform/windowsystem.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <clocale>

#include <langinfo.h>

namespace vorn {

namespace {

// Ends the program at once when the application is told to quit: the session manager tells it
// so at logout. Qt would first close each window as if the user had, and a window that asks
// something as it closes (the prank's message) would then hold the logout with a box nobody
// answers; a window that opens another as it closes would open it for nothing.
class QuitAtOnce final : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Quit || watched != QCoreApplication::instance())
            return QObject::eventFilter(watched, event);
        QCoreApplication::exit(0);
        return true;
    }
};

} // namespace

QByteArray utf8LocaleFor(const QByteArray& name) {
    QByteArray base = name;
    for (const char end : {'@', '.'}) {
        if (const qsizetype at = base.indexOf(end); at >= 0)
            base.truncate(at);
    }
    return (base == "POSIX" ? QByteArray("C") : base) + ".UTF-8";
}

// Qt writes text as UTF-8 whatever the locale, but Xlib encodes a window's legacy title
// property (WM_NAME, which xdotool, pagers and older window managers read) from the character
// set of LC_CTYPE: under C or a legacy locale (fr_FR@euro, ISO-8859-15) "Dépacement de capacité"
// read "DÃ©pacement de capacitÃ©". The characters follow the locale's UTF-8 counterpart; the
// environment, passed on to the programs the suite starts, stays as it is.
void useUtf8Characters() {
    const QByteArray codeset = nl_langinfo(CODESET);
    if (codeset.compare("UTF-8", Qt::CaseInsensitive) == 0 ||
        codeset.compare("utf8", Qt::CaseInsensitive) == 0)
        return;
    const QByteArray current = std::setlocale(LC_CTYPE, nullptr);
    if (!std::setlocale(LC_CTYPE, utf8LocaleFor(current).constData()))
        std::setlocale(LC_CTYPE, "C.UTF-8");
}

Runtime::Runtime(QApplication& app, QuitRule rule)
    : QObject(&app) {
    // The application has its window system and its platform theme now; what the suite set in
    // the environment for their start is its own.
    restoreStartEnvironment();
    useUtf8Characters();
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
    followKeyboardUse();
    installAccessibility();
    app.installEventFilter(new QuitAtOnce(this));

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
