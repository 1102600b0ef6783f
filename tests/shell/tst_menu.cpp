#include "platform/forms.h"
#include "shell/courrier.h"
#include "shell/menu.h"
#include "shell/splashfin.h"
#include "support/testsupport.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QtTest>

using namespace vorn;

class TestMenu : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { test::initRuntime(*qApp); }
    void cleanup() { test::destroyForms(); }

    void windowAndControls() {
        Menu* menu = Forms::instance().show<Menu>();
        QCOMPARE(menu->objectName(), QStringLiteral("Menu"));
        QCOMPARE(menu->windowTitle(), QStringLiteral("VornUtil"));
        QCOMPARE(menu->client()->size(), QSize(267, 51));
        auto* label = menu->findChild<QLabel*>(QStringLiteral("Label1"));
        QVERIFY(label);
        QCOMPARE(label->text(), QStringLiteral("Fermer"));
        QCOMPARE(label->property("ForeColor").toUInt(), 0x00FFFFu);
        QCOMPARE(label->property("FontSize").toDouble(), 12.0);
        QVERIFY(label->font().bold());
        QVERIFY(menu->findChild<QWidget*>(QStringLiteral("Image1")));
        QVERIFY(menu->findChild<QWidget*>(QStringLiteral("Bouch")));
    }

    void menuBarInOrder() {
        Menu* menu = Forms::instance().show<Menu>();
        QStringList layout;
        for (QAction* top : menu->menuBar()->actions()) {
            QMenu* sub = top->menu();
            QVERIFY(sub);
            QStringList entries;
            for (QAction* entry : sub->actions())
                entries << entry->objectName() + QLatin1Char('=') + entry->text() +
                               QLatin1Char('|') + entry->shortcut().toString();
            layout << sub->objectName() + QLatin1Char(':') + top->text() + QLatin1Char('[') +
                          entries.join(QLatin1Char(',')) + QLatin1Char(']');
        }
        const QStringList expected{
            QStringLiteral("file:Fichier[dos=MS-DOS|Ctrl+M,conf=Panneau|Ctrl+P,"
                           "prog=Program Configuration|,gest=Gestionnaire tâches|]"),
            QStringLiteral(
                "Utiliaires:Utiliaires[Horl=Horloge|Ctrl+H,Pat=Patriarches|F11,"
                "rech=Recherche|Ctrl+R,Hexa=Hexa-Couleurs|F12,conv=Convertisseur|Ctrl+C]"),
            QStringLiteral("Détente:Détente[mari=Zamours|Ctrl+Z]"),
            QStringLiteral("farces:Farces[tétr=Tétris|Ctrl+T]"),
            QStringLiteral("index:?[coord=A propos de...|Ctrl+A]"),
        };
        QCOMPARE(layout, expected);
    }

    // Each top entry shows on the bar, none behind the overflow button, whatever the size of
    // the desktop's menu font; the client area keeps its height.
    void everyTopEntryShows_data() {
        QTest::addColumn<double>("fontScale");
        QTest::newRow("desktop font") << 1.0;
        QTest::newRow("larger desktop font") << 1.5;
    }
    void everyTopEntryShows() {
        QFETCH(double, fontScale);
        const QFont desktop = QApplication::font("QMenuBar");
        QFont larger = desktop;
        larger.setPointSizeF(desktop.pointSizeF() * fontScale);
        QApplication::setFont(larger, "QMenuBar");
        Menu* menu = Forms::instance().show<Menu>();
        QApplication::setFont(desktop, "QMenuBar");
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        QMenuBar* bar = menu->menuBar();
        QCOMPARE(bar->font().pointSizeF(), larger.pointSizeF());
        for (QAction* top : bar->actions()) {
            const QRect place = bar->actionGeometry(top);
            QVERIFY2(bar->rect().contains(place), qPrintable(top->text()));
        }
        const auto* overflow = bar->findChild<QWidget*>(QStringLiteral("qt_menubar_ext_button"),
                                                        Qt::FindDirectChildrenOnly);
        QVERIFY(!overflow || overflow->isHidden());
        QCOMPARE(menu->client()->height(), 51);
    }

    void shortcutActsWithoutOpeningTheMenu_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("window");
        QTest::newRow("Ctrl+A") << int(Qt::Key_A) << "Courrier";
        QTest::newRow("Ctrl+T") << int(Qt::Key_T) << "Tétris";
        QTest::newRow("Ctrl+Z") << int(Qt::Key_Z) << "MARIAGE";
        QTest::newRow("Ctrl+C") << int(Qt::Key_C) << "VornEuro";
        QTest::newRow("Ctrl+H") << int(Qt::Key_H) << "Horloge";
        QTest::newRow("F11") << int(Qt::Key_F11) << "Main";
        QTest::newRow("F12") << int(Qt::Key_F12) << "Color";
        QTest::newRow("Ctrl+R") << int(Qt::Key_R) << "Recherche";
    }
    void shortcutActsWithoutOpeningTheMenu() {
        QFETCH(int, key);
        QFETCH(QString, window);
        test::ScriptedDialogs dialogs;
        Menu* menu = Forms::instance().show<Menu>();
        QVERIFY(QTest::qWaitForWindowActive(menu));
        QTest::keyClick(menu, Qt::Key(key),
                        key >= Qt::Key_F1 ? Qt::NoModifier : Qt::ControlModifier);
        QWidget* shown = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            shown = w->objectName() == window && w->isVisible() ? w : shown;
        QVERIFY(shown);
    }

    // The keyboard's ways into the menu bar: each makes the first top entry current and shows
    // it, so that a person sees where Left, Right and Down will take them.
    void keysEnterTheMenuBar_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("opens");
        QTest::newRow("Alt") << int(Qt::Key_Alt) << false;
        QTest::newRow("F10") << int(Qt::Key_F10) << true;
    }
    void keysEnterTheMenuBar() {
        QFETCH(int, key);
        QFETCH(bool, opens);
        Menu* menu = Forms::instance().show<Menu>();
        QVERIFY(QTest::qWaitForWindowActive(menu));
        QMenuBar* bar = menu->menuBar();
        const QImage before = bar->grab().toImage();
        QWindow* window = menu->windowHandle();
        if (key == Qt::Key_Alt) {
            QTest::keyPress(window, Qt::Key_Alt, Qt::AltModifier);
            QTest::keyRelease(window, Qt::Key_Alt);
        } else {
            QTest::keyClick(window, Qt::Key(key));
        }
        QCOMPARE(bar->activeAction(), bar->actions().constFirst());
        QMenu* first = bar->actions().constFirst()->menu();
        QCOMPARE(first->isVisible(), opens);
        if (opens)
            QCOMPARE(first->activeAction(), first->actions().constFirst());
        QVERIFY2(bar->grab().toImage() != before, "the current entry does not show");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    }

    void windowEntryKeepsOneCopy() {
        Menu* menu = Forms::instance().show<Menu>();
        menu->action(QStringLiteral("coord"))->trigger();
        Courrier* first = Forms::instance().loaded<Courrier>();
        menu->action(QStringLiteral("coord"))->trigger();
        QCOMPARE(Forms::instance().loaded<Courrier>(), first);
        int copies = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            copies += w->objectName() == QLatin1String("Courrier") ? 1 : 0;
        QCOMPARE(copies, 1);
    }

    void resizeFitsBackground_data() {
        QTest::addColumn<float>("width");
        QTest::addColumn<float>("height");
        QTest::addColumn<float>("bouchWidth");
        QTest::addColumn<float>("bouchHeight");
        QTest::newRow("example") << 6000.0f << 2000.0f << 5875.0f << 1275.0f;
        QTest::newRow("exact constants") << 4130.0f << 1490.0f << 4005.0f << 765.0f;
        QTest::newRow("too small") << 100.0f << 600.0f << 0.0f << 0.0f;
    }
    void resizeFitsBackground() {
        QFETCH(float, width);
        QFETCH(float, height);
        QFETCH(float, bouchWidth);
        QFETCH(float, bouchHeight);
        Menu* menu = Forms::instance().show<Menu>();
        menu->setMinimumSize(0, 0);
        menu->setProperty("Width", width);
        menu->setProperty("Height", height);
        QObject* bouch = menu->findChild<QObject*>(QStringLiteral("Bouch"));
        QTRY_COMPARE(bouch->property("Width").toFloat(), bouchWidth);
        QCOMPARE(bouch->property("Height").toFloat(), bouchHeight);
        QCOMPARE(bouch->property("Left").toFloat(), 0.0f);
    }

    void closeBoxUnloadsWithoutExitScreen() {
        QSignalSpy last(&Forms::instance(), &Forms::lastFormUnloaded);
        Menu* menu = Forms::instance().show<Menu>();
        menu->close();
        QVERIFY(!Forms::instance().isLoaded<Menu>());
        QVERIFY(!Forms::instance().isLoaded<SplashFin>());
        QCOMPARE(last.count(), 1);
    }

    void closeBoxLeavesToolWindowsOpen() {
        QSignalSpy last(&Forms::instance(), &Forms::lastFormUnloaded);
        Menu* menu = Forms::instance().show<Menu>();
        menu->action(QStringLiteral("coord"))->trigger();
        menu->close();
        QVERIFY(Forms::instance().isLoaded<Courrier>());
        QCOMPARE(last.count(), 0);
        Forms::instance().loaded<Courrier>()->close();
        QCOMPARE(last.count(), 1);
    }
};

QTEST_MAIN(TestMenu)
#include "tst_menu.moc"
