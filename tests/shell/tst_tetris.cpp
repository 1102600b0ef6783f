#include "platform/forms.h"
#include "shell/tetris.h"
#include "support/testsupport.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace vorn;
using vorn::test::DialogCall;
using vorn::test::ScriptedDialogs;

namespace {

const QString kAdmitted = QStringLiteral("Dépacement de capacité|Votre cas est trop prononcé, "
                                         "désolé, mais Windows ne peut rien pour vous!|48");
const QString kCloseBox = QStringLiteral("Dépacement de capacité|Erreur: Windows certifie que "
                                         "vous ne pouvez pas avoir eu l'intelligence de cliquer "
                                         "sur la petite croix !|48");

// Each box asked for, as "title|text|style".
QStringList boxes(const ScriptedDialogs& dialogs) {
    QStringList list;
    for (const DialogCall& call : dialogs.calls())
        list.append(QStringLiteral("%1|%2|%3").arg(call.title, call.text).arg(call.style));
    return list;
}

QPushButton* button(QWidget* form, const char* name) {
    return form->findChild<QPushButton*>(QString::fromLatin1(name));
}

QPointF twips(QObject* control) {
    return {control->property("Left").toDouble(), control->property("Top").toDouble()};
}

// Shows the window with the pointer away from it, then moves the pointer onto "Admission" and
// then onto "Aide". Null when "Aide" vanished before the pointer reached it.
Tetris* openAndHover(QPushButton** aide) {
    QCursor::setPos(QPoint(2000, 2000));
    Tetris* form = Forms::instance().show<Tetris>();
    if (!QTest::qWaitForWindowExposed(form))
        return nullptr;
    *aide = button(form, "Aide");
    QTest::mouseMove(button(form, "Admission"));
    const bool stillThere = (*aide)->isVisible();
    QTest::mouseMove(*aide);
    return stillThere ? form : nullptr;
}

} // namespace

class TestTetris : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { vorn::test::initRuntime(*qApp); }
    void cleanup() { vorn::test::destroyForms(); }

    void message() {
        ScriptedDialogs dialogs;
        Tetris* form = Forms::instance().show<Tetris>();
        auto* label = form->findChild<QLabel*>(QStringLiteral("Label1"));
        const QString caption = label->property("Caption").toString();
        QCOMPARE(caption.size(), 217);
        QVERIFY(caption.startsWith(QStringLiteral("Windows a détecté une insuffisence intellec- "
                                                  "tuelle chez l'utilisateur")));
        QVERIFY(caption.contains(QStringLiteral("ce programme.") + QString(21, QLatin1Char(' ')) +
                                 QStringLiteral("Si vous admettez")));
        QVERIFY(caption.endsWith(QStringLiteral("une solution vous sera donnée.")));
        QVERIFY(label->wordWrap());
        QCOMPARE(label->property("FontName").toString(), QStringLiteral("Times New Roman"));
        QCOMPARE(label->font().pointSizeF(), 9.75);
    }

    void refusCycle_data() {
        QTest::addColumn<int>("clicks");
        QTest::addColumn<QPointF>("position");
        QTest::newRow("1") << 1 << QPointF(2910, 1680);
        QTest::newRow("2") << 2 << QPointF(1410, 1680);
        QTest::newRow("3") << 3 << QPointF(2160, 1330);
        QTest::newRow("4, back home") << 4 << QPointF(2160, 1680);
        QTest::newRow("5") << 5 << QPointF(2910, 1680);
        QTest::newRow("7") << 7 << QPointF(2160, 1330);
        QTest::newRow("402") << 402 << QPointF(1410, 1680);
    }
    void refusCycle() {
        QFETCH(int, clicks);
        QFETCH(QPointF, position);
        ScriptedDialogs dialogs;
        Tetris* form = Forms::instance().show<Tetris>();
        QPushButton* refus = button(form, "Refus");
        for (int i = 0; i < clicks; ++i)
            QTest::mouseClick(refus, Qt::LeftButton);
        QCOMPARE(twips(refus), position);
        QCOMPARE(form->compteur(), clicks % 4);
        // The pixel place follows the twips, with no drift after many moves.
        QCOMPARE(refus->pos(), (position / 15).toPoint());
        QVERIFY(dialogs.calls().isEmpty());
    }

    void aide_hidesUnderPointer() {
        ScriptedDialogs dialogs;
        QPushButton* aide = nullptr;
        QVERIFY(openAndHover(&aide));
        QTRY_VERIFY(!aide->isVisible());
        QVERIFY(dialogs.calls().isEmpty());
    }

    void aide_keyboardDoesNothing_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("space") << int(Qt::Key_Space);
        QTest::newRow("enter") << int(Qt::Key_Return);
    }
    void aide_keyboardDoesNothing() {
        QFETCH(int, key);
        ScriptedDialogs dialogs;
        Tetris* form = Forms::instance().show<Tetris>();
        QPushButton* aide = button(form, "Aide");
        aide->setFocus();
        QTest::keyClick(aide, Qt::Key(key));
        QVERIFY(aide->isVisible());
        QVERIFY(dialogs.calls().isEmpty());
        QVERIFY(Forms::instance().isLoaded<Tetris>());
        QCOMPARE(twips(button(form, "Refus")), QPointF(2160, 1680));
    }

    void closing_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("admitting") << "admit" << QStringList(kAdmitted);
        QTest::newRow("title bar") << "close" << QStringList(kCloseBox);
        QTest::newRow("registry") << "unload" << QStringList(kCloseBox);
        // Closed while the admission message is up: mocked once, no crash, no second unload.
        QTest::newRow("closed while admitting") << "both" << QStringList({kAdmitted, kCloseBox});
    }
    void closing() {
        QFETCH(QString, how);
        QFETCH(QStringList, expected);
        ScriptedDialogs dialogs;
        QPointer<Tetris> form = Forms::instance().show<Tetris>();
        QTest::mouseClick(button(form, "Refus"), Qt::LeftButton);
        if (how == "both") {
            dialogs.setWhileOpen([&](const DialogCall&) {
                if (form && !form->isUnloaded())
                    form->close();
            });
        }
        if (how == "admit" || how == "both")
            QTest::mouseClick(button(form, "Admission"), Qt::LeftButton);
        else if (how == "close")
            QVERIFY(form->close());
        else
            Forms::instance().unload(form);
        QCOMPARE(boxes(dialogs), expected);
        QVERIFY(!Forms::instance().isLoaded<Tetris>());
        QTRY_VERIFY(form.isNull());
    }

    void reopening_isFresh_data() {
        QTest::addColumn<bool>("admit");
        QTest::newRow("after admitting") << true;
        QTest::newRow("after the close box") << false;
    }
    void reopening_isFresh() {
        QFETCH(bool, admit);
        ScriptedDialogs dialogs;
        QPushButton* aide = nullptr;
        Tetris* first = openAndHover(&aide);
        QVERIFY(first);
        QTRY_VERIFY(!aide->isVisible());
        QTest::mouseClick(button(first, "Refus"), Qt::LeftButton);
        if (admit)
            button(first, "Admission")->click();
        else
            first->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        Tetris* second = Forms::instance().show<Tetris>();
        QCOMPARE(twips(button(second, "Refus")), QPointF(2160, 1680));
        QVERIFY(button(second, "Aide")->isVisible());
        QCOMPARE(second->compteur(), 0);
        // Not admitted in this opening: closing it mocks again.
        dialogs.clear();
        second->close();
        QCOMPARE(boxes(dialogs), QStringList(kCloseBox));
    }
};

QTEST_MAIN(TestTetris)
#include "tst_tetris.moc"
