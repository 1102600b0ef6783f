// Renders every window of the suite in a typical state to PNG files, for the README and
// for looking at the windows at a glance. Run under Xvfb by scripts/screenshots; the
// windows are driven through their object names, as a user or a test would.

#include "chores/mariage.h"
#include "chronology/main.h"
#include "clock/horloge.h"
#include "colour/color.h"
#include "euro/vorneuro.h"
#include "files/recherche.h"
#include "platform/dialogs.h"
#include "platform/forms.h"
#include "platform/runtime.h"
#include "platform/services.h"
#include "shell/courrier.h"
#include "shell/menu.h"
#include "shell/splashfin.h"
#include "shell/tetris.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <functional>

using namespace vorn;

namespace {

// Answers the boxes a window asks at opening, so no dialog stands in front of it.
class QuietDialogs final : public DialogHost {
public:
    Answer message(QWidget*, const QString&, MessageStyle, const QString&) override {
        return Answer::Ok;
    }
    QString input(QWidget*, const QString& prompt, const QString&) override {
        return prompt.contains(QStringLiteral("première")) ? QStringLiteral("Alice")
                                                           : QStringLiteral("Bruno");
    }
    void runtimeError(QWidget*, ErrorNumber, const QString&) override {}
};

void click(Form* form, const char* name) {
    if (auto* w = form->findChild<QWidget*>(QString::fromUtf8(name)))
        QTest::mouseClick(w, Qt::LeftButton);
}

void type(Form* form, const char* name, const QString& text) {
    if (auto* box = form->findChild<QLineEdit*>(QString::fromUtf8(name))) {
        box->setFocus();
        box->setText(text);
    }
}

struct Scene {
    const char* file;
    std::function<Form*()> open;
};

const Scene kScenes[] = {
    {"menu", [] { return Forms::instance().show<Menu>(); }},
    {"exit-screen", [] { return Forms::instance().show<SplashFin>(); }},
    {"about", [] { return Forms::instance().show<Courrier>(); }},
    {"prank", [] { return Forms::instance().show<Tetris>(); }},
    {"chores",
     [] {
         Form* f = Forms::instance().show<Mariage>();
         click(f, "Option3");
         click(f, "Command1");
         return f;
     }},
    {"euro",
     [] {
         Form* f = Forms::instance().show<VornEuro>();
         for (const char* key : {"un", "zero", "zero", "euros"})
             click(f, key);
         return f;
     }},
    {"clock", [] { return Forms::instance().show<Horloge>(); }},
    {"colour",
     [] {
         Form* f = Forms::instance().show<Color>();
         if (!QTest::qWaitForWindowActive(f))
             std::fprintf(stderr, "the colour window is not active\n");
         type(f, "Text2", QStringLiteral("255"));
         type(f, "Text1", QStringLiteral("128"));
         f->findChild<QWidget*>(QStringLiteral("Text3"))->setFocus(Qt::TabFocusReason);
         type(f, "Text3", QStringLiteral("0"));
         f->findChild<QWidget*>(QStringLiteral("Text4"))->setFocus(Qt::TabFocusReason);
         return f;
     }},
    {"files",
     [] {
         Form* f = Forms::instance().show<Recherche>();
         if (QObject* files = f->findChild<QObject*>(QStringLiteral("File1")))
             files->setProperty("ListIndex", 1);
         return f;
     }},
    {"chronology",
     [] {
         Form* f = Forms::instance().show<Main>();
         type(f, "Text1", QStringLiteral("-330"));
         click(f, "Command1");
         return f;
     }},
};

// The window with its client area as the window system would frame it: a plain title bar
// with the caption, drawn here so the pictures do not depend on a window manager.
QImage framed(Form* form, qreal scale) {
    const QPixmap body = form->grab();
    const int title = 24;
    const QSize size(form->width() + 2, form->height() + title + 1);
    QImage image((QSizeF(size) * scale).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(QColor(60, 60, 70));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRect(0, 0, size.width(), title), QColor(40, 70, 130));
    QFont font = QApplication::font();
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(8, 0, size.width() - 16, title), Qt::AlignVCenter | Qt::AlignLeft,
                     form->windowTitle());
    painter.drawPixmap(QPoint(1, title), body);
    return image;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    Runtime runtime(app, Runtime::QuitRule::KeepRunning);
    QuietDialogs dialogs;
    setDialogHost(&dialogs);
    setTimeSource([] { return QDateTime(QDate(2026, 12, 8), QTime(10, 10, 30)); });

    const QString outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(outDir);
    const qreal scale = qApp->devicePixelRatio();
    for (const Scene& scene : kScenes) {
        Form* form = scene.open();
        if (!QTest::qWaitForWindowExposed(form))
            std::fprintf(stderr, "%s was not shown\n", scene.file);
        QTest::qWait(150);
        const QString suffix = scale > 1.0 ? QStringLiteral("@%1x").arg(scale) : QString();
        const QString path = outDir + QLatin1Char('/') + QString::fromLatin1(scene.file) + suffix +
                             QStringLiteral(".png");
        if (!framed(form, scale).save(path))
            std::fprintf(stderr, "could not write %s\n", qPrintable(path));
        else
            std::printf("%s\n", qPrintable(path));
        Forms::instance().destroyAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    setDialogHost(nullptr);
    return 0;
}
