#include "chores/mariage.h"
#include "platform/forms.h"
#include "shell/courrier.h"
#include "support/testsupport.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace vorn;
using vorn::test::DialogCall;
using vorn::test::ScriptedDialogs;

namespace {

const QString kFirstPrompt = QStringLiteral("Donnez le nom de la première personne");

// Each box asked for, as "title|text|style" (input boxes have style 0).
QStringList boxes(const ScriptedDialogs& dialogs) {
    QStringList list;
    for (const DialogCall& call : dialogs.calls())
        list.append(QStringLiteral("%1|%2|%3").arg(call.title, call.text).arg(call.style));
    return list;
}

// Opens the window, answering the two name boxes.
Mariage* open(ScriptedDialogs& dialogs, const QString& first, const QString& second) {
    dialogs.queueInput(first);
    dialogs.queueInput(second);
    return Forms::instance().show<Mariage>();
}

QLineEdit* answer(QWidget* form) {
    return form->findChild<QLineEdit*>(QStringLiteral("Text1"));
}

void press(QWidget* form, const char* name) {
    QTest::mouseClick(form->findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
}

void pinSecond(int second) {
    vorn::test::pinTime(QDateTime(QDate(2024, 2, 29), QTime(23, 59, second)));
}

} // namespace

class TestMariage : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { vorn::test::initRuntime(*qApp); }
    void cleanup() {
        vorn::test::pinTime({});
        vorn::test::destroyForms();
    }

    void opening_asksNamesBeforeShowing() {
        ScriptedDialogs dialogs;
        int shownDuringBoxes = 0;
        dialogs.setWhileOpen([&](const DialogCall&) {
            Mariage* form = Forms::instance().loaded<Mariage>();
            shownDuringBoxes += form && form->isVisible() ? 1 : 0;
        });
        Mariage* form = open(dialogs, QStringLiteral("Alice"), QString());
        QCOMPARE(boxes(dialogs),
                 QStringList({"Préparation mentale|Ce petit programme vous permettra de définir "
                              "qui dans votre couple fera telle ou telle tâche ménagère, et ce "
                              "sans dispute.|0",
                              "Personnalisation|Donnez le nom de la première personne|0",
                              "Personnalisation|Donnez le nom de la deuxième personne|0"}));
        QCOMPARE(shownDuringBoxes, 0);
        QVERIFY(form->isVisible());
        QCOMPARE(form->Nom1(), QStringLiteral("Alice"));
        QCOMPARE(form->Nom2(), QString()); // the cancelled box
        QVERIFY(answer(form)->text().isEmpty());
        for (QRadioButton* option : form->findChildren<QRadioButton*>())
            QVERIFY(!option->isChecked());
    }

    void draw_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<int>("clockSecond");
        QTest::addColumn<QString>("chore");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("byKey"); // Space on the focused button instead of a click
        QTest::newRow("second 0") << "Amélie"
                                  << "Benoît" << 0 << ""
                                  << "Amélie" << false;
        QTest::newRow("second 1") << "Amélie"
                                  << "Benoît" << 1 << ""
                                  << "Benoît" << false;
        QTest::newRow("second 58") << "Amélie"
                                   << "Benoît" << 58 << ""
                                   << "Amélie" << false;
        QTest::newRow("second 59") << "Amélie"
                                   << "Benoît" << 59 << ""
                                   << "Benoît" << false;
        QTest::newRow("chore plays no part") << "Amélie"
                                             << "Benoît" << 13 << "Option1"
                                             << "Benoît" << false;
        QTest::newRow("first cancelled, even") << ""
                                               << "Benoît" << 44 << ""
                                               << "" << false;
        QTest::newRow("names kept as typed") << " Zoé "
                                             << "Benoît" << 2 << ""
                                             << " Zoé " << false;
        QTest::newRow("name wider than its box, by key") << "Marie-Françoise"
                                                         << "Benoît" << 4 << ""
                                                         << "Marie-Françoise" << true;
    }
    void draw() {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(int, clockSecond);
        QFETCH(QString, chore);
        QFETCH(QString, expected);
        QFETCH(bool, byKey);
        ScriptedDialogs dialogs;
        Mariage* form = open(dialogs, first, second);
        if (!chore.isEmpty())
            form->findChild<QRadioButton*>(chore)->click();
        answer(form)->setText(QStringLiteral("précédent"));
        pinSecond(clockSecond);
        if (byKey) {
            form->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(form));
            form->findChild<QPushButton*>(QStringLiteral("Command1"))->setFocus(Qt::TabFocusReason);
            QTest::keyClick(form->windowHandle(), Qt::Key_Space);
        } else {
            press(form, "Command1");
        }
        QCOMPARE(answer(form)->text(), expected);
        // The name reads from its first letter, however much of it the box has room for.
        QCOMPARE(answer(form)->cursorPosition(), 0);
        QCOMPARE(dialogs.calls().size(), 3);
    }

    void chore_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::newRow("1") << "Option1"
                           << "Fera la vaisselle ?";
        QTest::newRow("2") << "Option2"
                           << "Sortira les poubelles ?";
        QTest::newRow("3") << "Option3"
                           << "Promènera le chien ?";
        QTest::newRow("4") << "Option4"
                           << "Changera le bébé ?";
        QTest::newRow("5") << "Option5"
                           << "Fera la lit tous les matins ?";
        QTest::newRow("6") << "Option6"
                           << "Préparera le repas ?";
        QTest::newRow("7") << "Option7"
                           << "Lavera la voiture ?";
    }
    void chore() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        ScriptedDialogs dialogs;
        Mariage* form = open(dialogs, QStringLiteral("Léa"), QStringLiteral("Tom"));
        auto* option = form->findChild<QRadioButton*>(name);
        QCOMPARE(option->property("Caption").toString(), caption);
        // Another chore first, so that the pick is a change of chore.
        form->findChild<QRadioButton*>(name == "Option1" ? "Option2" : "Option1")->click();
        pinSecond(10);
        press(form, "Command1");
        QCOMPARE(answer(form)->text(), QStringLiteral("Léa"));

        QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(8, option->height() / 2));
        QVERIFY(option->isChecked());
        QVERIFY(answer(form)->text().isEmpty());
        int checked = 0;
        for (QRadioButton* each : form->findChildren<QRadioButton*>())
            checked += each->isChecked() ? 1 : 0;
        QCOMPARE(checked, 1);
    }

    void tabOrder() {
        ScriptedDialogs dialogs;
        Mariage* form = open(dialogs, {}, {});
        QWidget* start = form->findChild<QWidget*>(QStringLiteral("Option1"));
        QStringList order;
        QWidget* w = start;
        do {
            if (w->focusPolicy() & Qt::TabFocus)
                order.append(w->objectName());
            w = w->nextInFocusChain();
        } while (w != start && order.size() < 20);
        QCOMPARE(order,
                 QStringList({"Option1", "Option2", "Option3", "Option4", "Option5", "Option6",
                              "Command1", "Command2", "Command3", "Text1", "Option7"}));
    }

    void fear_onlyTeases() {
        ScriptedDialogs dialogs;
        Mariage* form = open(dialogs, QStringLiteral("A"), QStringLiteral("B"));
        answer(form)->setText(QStringLiteral("A"));
        dialogs.clear();
        press(form, "Command2");
        QCOMPARE(boxes(dialogs), QStringList("Rappel essentiel|Alors comme ça on a peur de "
                                             "prendre ses responsabilités ?!|0"));
        QCOMPARE(answer(form)->text(), QStringLiteral("A"));
        QVERIFY(Forms::instance().isLoaded<Mariage>());
        QVERIFY(!Forms::instance().isLoaded<Courrier>());
    }

    void unload_showsAbout_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("aboutOpenBefore");
        QTest::newRow("button") << "button" << false;
        QTest::newRow("title bar") << "close" << false;
        QTest::newRow("registry") << "unload" << false;
        QTest::newRow("about already open") << "button" << true;
    }
    void unload_showsAbout() {
        QFETCH(QString, how);
        QFETCH(bool, aboutOpenBefore);
        ScriptedDialogs dialogs;
        Courrier* before = aboutOpenBefore ? Forms::instance().show<Courrier>() : nullptr;
        QPointer<Mariage> form = open(dialogs, {}, {});
        dialogs.clear();
        if (how == "button")
            press(form, "Command3");
        else if (how == "close")
            QVERIFY(form->close());
        else
            Forms::instance().unload(form);

        QVERIFY(!Forms::instance().isLoaded<Mariage>());
        Courrier* about = Forms::instance().loaded<Courrier>();
        QVERIFY(about && about->isVisible());
        QVERIFY(!before || about == before);
        QVERIFY(dialogs.calls().isEmpty());
        QTRY_VERIFY(form.isNull());
    }

    void reopening_asksAgain() {
        ScriptedDialogs dialogs;
        Mariage* first = open(dialogs, QStringLiteral("Paul"), QStringLiteral("Virginie"));
        pinSecond(3);
        first->findChild<QRadioButton*>(QStringLiteral("Option4"))->click();
        press(first, "Command1");
        Forms::instance().unload(first);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        dialogs.clear();
        Mariage* second = open(dialogs, QStringLiteral("Roméo"), QStringLiteral("Juliette"));
        QCOMPARE(dialogs.calls().size(), 3);
        QVERIFY(answer(second)->text().isEmpty());
        for (QRadioButton* option : second->findChildren<QRadioButton*>())
            QVERIFY(!option->isChecked());
        press(second, "Command1");
        QCOMPARE(answer(second)->text(), QStringLiteral("Juliette"));
    }

    void unloadedWhileAsking_stopsAsking() {
        ScriptedDialogs dialogs;
        dialogs.setWhileOpen([](const DialogCall& call) {
            if (call.text == kFirstPrompt)
                Forms::instance().unload(Forms::instance().loaded<Mariage>());
        });
        QPointer<Mariage> form = Forms::instance().show<Mariage>();
        QCOMPARE(dialogs.calls().size(), 2);
        QVERIFY(!Forms::instance().isLoaded<Mariage>());
        QVERIFY(Forms::instance().isLoaded<Courrier>());
        QTRY_VERIFY(form.isNull());
    }
};

QTEST_MAIN(TestMariage)
#include "tst_mariage.moc"
