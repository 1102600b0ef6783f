#include "platform/controls.h"
#include "platform/forms.h"
#include "shell/courrier.h"
#include "shell/menu.h"
#include "shell/splashfin.h"
#include "support/testsupport.h"

#include <QApplication>
#include <QPointer>
#include <QSignalSpy>
#include <QtTest>

using namespace vorn;

// The paths between the main window, the exit screen and the about window.
class TestExitScreen : public QObject {
    Q_OBJECT

    Menu* menu = nullptr;
    QSignalSpy* last = nullptr;

    SplashFin* openExitScreen() {
        menu = Forms::instance().show<Menu>();
        if (!QTest::qWaitForWindowExposed(menu))
            return nullptr;
        QTest::mouseClick(menu->findChild<QWidget*>(QStringLiteral("Image1")), Qt::LeftButton);
        return Forms::instance().loaded<SplashFin>();
    }
    static void click(Form* form, const char* name) {
        QWidget* w = form->findChild<QWidget*>(QString::fromLatin1(name));
        QVERIFY(w);
        QTest::mouseClick(w, Qt::LeftButton);
    }

private Q_SLOTS:
    void initTestCase() { test::initRuntime(*qApp); }
    void init() { last = new QSignalSpy(&Forms::instance(), &Forms::lastFormUnloaded); }
    void cleanup() {
        delete last;
        test::destroyForms();
    }

    void closePictureHidesMenuAndShowsExitScreen() {
        SplashFin* exit = openExitScreen();
        QVERIFY(exit);
        QCOMPARE(exit->windowTitle(), QStringLiteral("M'écrire ?"));
        QCOMPARE(exit->client()->size(), QSize(342, 116));
        QVERIFY(Forms::instance().isLoaded<Menu>());
        QVERIFY(!menu->isVisible());
    }

    void backToMenuAtItsGeometry() {
        menu = Forms::instance().show<Menu>();
        menu->resize(400, 120);
        menu->move(50, 60);
        const QRect before = menu->geometry();
        SplashFin* exit = openExitScreen();
        QPointer<SplashFin> guard(exit);
        click(exit, "Image2");
        QVERIFY(menu->isVisible());
        QCOMPARE(menu->geometry(), before);
        QVERIFY(!Forms::instance().isLoaded<SplashFin>());
        QTRY_VERIFY(guard.isNull());
        QCOMPARE(last->count(), 0);
    }

    void quitEndsWhenNoOtherWindow() {
        SplashFin* exit = openExitScreen();
        click(exit, "Image3");
        QVERIFY(!Forms::instance().isLoaded<Menu>());
        QVERIFY(!Forms::instance().isLoaded<SplashFin>());
        QCOMPARE(last->count(), 1);
    }

    void aboutWindowOutlivesExitScreen() {
        SplashFin* exit = openExitScreen();
        click(exit, "Image1");
        Courrier* about = Forms::instance().loaded<Courrier>();
        QVERIFY(about && about->isVisible());
        QVERIFY(!menu->isVisible()); // the main window stays hidden
        click(exit, "Image3");
        QCOMPARE(last->count(), 0);
        QVERIFY(Forms::instance().isLoaded<Courrier>());
        about->close();
        QCOMPARE(last->count(), 1);
    }

    void lettersDoNothing_data() {
        QTest::addColumn<QString>("letter");
        QTest::newRow("O") << "Label1";
        QTest::newRow("U") << "Label2";
        QTest::newRow("T") << "Label3";
    }
    void lettersDoNothing() {
        QFETCH(QString, letter);
        SplashFin* exit = openExitScreen();
        QVERIFY(QTest::qWaitForWindowExposed(exit));
        auto* label = exit->findChild<Label*>(letter);
        QVERIFY(label);
        QTest::mouseClick(label, Qt::LeftButton);
        QVERIFY(Forms::instance().isLoaded<SplashFin>());
        QVERIFY(Forms::instance().isLoaded<Menu>());
        // The uncovered part of the exit picture still quits.
        QWidget* picture = exit->findChild<QWidget*>(QStringLiteral("Image3"));
        QTest::mouseClick(picture, Qt::LeftButton, {}, QPoint(3, picture->height() - 3));
        QVERIFY(!Forms::instance().isLoaded<Menu>());
    }

    void windowSystemCloseShowsMenuAgain() {
        SplashFin* exit = openExitScreen();
        exit->close();
        QVERIFY(!Forms::instance().isLoaded<SplashFin>());
        QVERIFY(menu->isVisible());
        QCOMPARE(last->count(), 0);
    }

    void exitScreenIsFreshEachTime() {
        QPointer<SplashFin> first = openExitScreen();
        click(first, "Image2");
        QTRY_VERIFY(first.isNull());
        SplashFin* second = openExitScreen();
        QVERIFY(second);
        QVERIFY(second->isVisible());
    }
};

QTEST_MAIN(TestExitScreen)
#include "tst_exitscreen.moc"
