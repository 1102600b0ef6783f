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
#include "support/testsupport.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QtTest>

#include <functional>

using namespace vorn;

namespace {

using Opener = std::function<Form*()>;

template <class T> Opener opener() {
    return [] { return Forms::instance().show<T>(); };
}

// Every control under `iface` whose accessible name is empty, by object name.
void collectUnnamed(QAccessibleInterface* iface, QStringList& unnamed, QStringList& seen) {
    for (int i = 0; i < iface->childCount(); ++i) {
        QAccessibleInterface* child = iface->child(i);
        if (!child)
            continue;
        QObject* object = child->object();
        const QString name = object ? object->objectName() : QString();
        const bool container = name.isEmpty() || name == QLatin1String("client") ||
                               name.startsWith(QLatin1String("qt_"));
        if (!container) {
            seen << name;
            if (child->text(QAccessible::Name).trimmed().isEmpty())
                unnamed << name;
        }
        if (child->role() != QAccessible::MenuBar)
            collectUnnamed(child, unnamed, seen);
    }
}

} // namespace

// Walks the accessibility tree of every window: a screen reader must be able to name every
// control a user acts on or reads.
class TestAccessibility : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { test::initRuntime(*qApp); }
    void cleanup() { test::destroyForms(); }

    void everyControlIsNamed_data() {
        QTest::addColumn<Opener>("open");
        QTest::newRow("Menu") << opener<Menu>();
        QTest::newRow("SplashFin") << opener<SplashFin>();
        QTest::newRow("Courrier") << opener<Courrier>();
        QTest::newRow("Tétris") << opener<Tetris>();
        QTest::newRow("MARIAGE") << opener<Mariage>();
        QTest::newRow("Main") << opener<Main>();
        QTest::newRow("VornEuro") << opener<VornEuro>();
        QTest::newRow("Color") << opener<Color>();
        QTest::newRow("Horloge") << opener<Horloge>();
        QTest::newRow("Recherche") << opener<Recherche>();
    }
    void everyControlIsNamed() {
        QFETCH(Opener, open);
        test::ScriptedDialogs dialogs;
        Form* form = open();
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(form);
        QVERIFY(iface);
        QCOMPARE(iface->text(QAccessible::Name), form->windowTitle());
        QStringList unnamed;
        QStringList seen;
        collectUnnamed(iface, unnamed, seen);
        QVERIFY2(seen.size() > 1, qPrintable(seen.join(QLatin1Char(' '))));
        QVERIFY2(unnamed.isEmpty(),
                 qPrintable(QStringLiteral("unnamed: ") + unnamed.join(QLatin1Char(' '))));
    }

    void picturesThatActAreButtons_data() {
        QTest::addColumn<Opener>("open");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");
        QTest::newRow("close") << opener<Menu>() << "Image1"
                               << "Fermer";
        QTest::newRow("write") << opener<SplashFin>() << "Image1"
                               << "Mes coordonnées";
        QTest::newRow("back") << opener<SplashFin>() << "Image2"
                              << "Retour au menu";
        QTest::newRow("quit") << opener<SplashFin>() << "Image3"
                              << "Quitter";
        QTest::newRow("animation") << opener<Color>() << "Image1"
                                   << "Animation";
    }
    void picturesThatActAreButtons() {
        QFETCH(Opener, open);
        QFETCH(QString, control);
        QFETCH(QString, name);
        Form* form = open();
        QWidget* picture = form->findChild<QWidget*>(control);
        QVERIFY(picture);
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(picture);
        QCOMPARE(iface->role(), QAccessible::Button);
        QCOMPARE(iface->text(QAccessible::Name), name);
        QVERIFY(iface->actionInterface());
        QVERIFY(iface->actionInterface()->actionNames().contains(
            QAccessibleActionInterface::pressAction()));
        QVERIFY(picture->focusPolicy() & Qt::TabFocus);
    }

    void pressingThePicturePerformsItsAction() {
        Form* menu = Forms::instance().show<Menu>();
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(
            menu->findChild<QWidget*>(QStringLiteral("Image1")));
        iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(Forms::instance().isLoaded<SplashFin>());
        QVERIFY(!menu->isVisible());
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
