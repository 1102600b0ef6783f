#include "support/testsupport.h"

#include "euro/vorneuro.h"
#include "platform/forms.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace vorn;

namespace {

// The keypad's keys and the characters they must append.
constexpr std::pair<const char*, const char*> kKeys[] = {
    {"un", "1"},   {"deux", "2"}, {"trois", "3"}, {"quatre", "4"}, {"cinq", "5"},    {"six", "6"},
    {"sept", "7"}, {"huit", "8"}, {"neuf", "9"},  {"zero", "0"},   {"virgule", ","},
};

// A display state, the script that reaches it and what the window then shows.
struct StartState {
    const char* name;
    const char* script;
    const char* display;
    int error; // the error box the script shows on the way, if any
};

constexpr StartState kStates[] = {
    {"new window", "", "||-|-", 0},
    {"entry", "un deux", "12||-|-", 0},
    {"entry typed with a point", "type:4.5", "4.5||-|-", 0},
    {"result in euros", "un zero zero euros", "15,245|Euros|100|Francs", 0},
    {"result in francs", "un francs", "6,56|Francs|1|Euros", 0},
    {"result typed over", "un zero zero euros type:9", "15,2459|Euros|100|Francs", 0},
    {"result emptied by keyboard", "un zero zero euros erase", "|Euros|100|Francs", 0},
    {"after an error", "virgule euros", ",|Euros|,|Francs", 13},
};

} // namespace

// Drives the calculator through its object tree, as a user or a script would.
class TestVornEuro : public QObject {
    Q_OBJECT

private:
    test::ScriptedDialogs* m_dialogs = nullptr;

    static VornEuro* open() { return Forms::instance().show<VornEuro>(); }

    template <class T = QWidget> static T* control(VornEuro* window, const QString& name) {
        T* found = window->findChild<T*>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }

    // Runs space-separated steps: a control name presses that button, "type:TEXT" types
    // into the display, "erase" erases it, "select" selects it all, "home" puts the
    // cursor at its start.
    static void run(VornEuro* window, const QString& script) {
        auto* ecran = control<QLineEdit>(window, "ecran");
        for (const QString& step : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (step.startsWith(QLatin1String("type:"))) {
                QTest::keyClicks(ecran, step.mid(5));
            } else if (step == QLatin1String("erase")) {
                ecran->selectAll();
                QTest::keyClick(ecran, Qt::Key_Backspace);
            } else if (step == QLatin1String("select")) {
                ecran->selectAll();
            } else if (step == QLatin1String("home")) {
                ecran->setCursorPosition(0);
            } else {
                control<QPushButton>(window, step)->click();
            }
        }
    }

    // "ecran|monaie|ecran2|monaie2", the last two as "-" while hidden.
    static QString display(VornEuro* window) {
        QWidget* ecran2 = control(window, "ecran2");
        QWidget* monaie2 = control(window, "monaie2");
        const bool shown = ecran2->property("Visible").toBool();
        if (monaie2->property("Visible").toBool() != shown)
            return QStringLiteral("ecran2 and monaie2 disagree on their visibility");
        return QStringList{control(window, "ecran")->property("Text").toString(),
                           control(window, "monaie")->property("Caption").toString(),
                           shown ? ecran2->property("Text").toString() : QStringLiteral("-"),
                           shown ? monaie2->property("Caption").toString() : QStringLiteral("-")}
            .join(QLatin1Char('|'));
    }

    // The numbers of the error boxes shown so far; -1 marks one shown over another window.
    QList<int> errorNumbers() const {
        QList<int> numbers;
        for (const auto& call : m_dialogs->errors())
            numbers << (call.parent == QLatin1String("VornEuro") ? call.style : -1);
        return numbers;
    }

private Q_SLOTS:
    void initTestCase() { test::initRuntime(*qApp); }
    void init() { m_dialogs = new test::ScriptedDialogs; }
    void cleanup() {
        test::destroyForms();
        delete m_dialogs;
        m_dialogs = nullptr;
    }

    void window() {
        VornEuro* w = open();
        QCOMPARE(w->windowTitle(), QStringLiteral("La VornEuro"));
        QCOMPARE(w->client()->size(), QSize(276, 226));
        QCOMPARE(w->minimumSize(), w->maximumSize());
        QVERIFY(
            !(w->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QCOMPARE(display(w), QStringLiteral("||-|-"));
        QVERIFY(control<QLineEdit>(w, "ecran2")->isReadOnly());

        // No control hides another or leaves the client area.
        const QRect area = w->client()->rect();
        const auto controls = w->client()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        QCOMPARE(controls.size(), 20);
        for (qsizetype i = 0; i < controls.size(); ++i) {
            QVERIFY2(area.contains(controls[i]->geometry()), qPrintable(controls[i]->objectName()));
            for (qsizetype j = i + 1; j < controls.size(); ++j)
                QVERIFY2(!controls[i]->geometry().intersects(controls[j]->geometry()),
                         qPrintable(controls[i]->objectName() + u' ' + controls[j]->objectName()));
        }
    }

    // Every entry key in every display state: after a result the key starts a new amount.
    void entryKeys_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        for (const StartState& state : kStates) {
            const QStringList before = QString::fromUtf8(state.display).split(u'|');
            for (const auto& [name, character] : kKeys) {
                const QString ecran = before[1].isEmpty() ? before[0] + QLatin1String(character)
                                                          : QString::fromLatin1(character);
                QTest::addRow("%s, %s", state.name, name)
                    << QString::fromLatin1(state.script) << QString::fromLatin1(name)
                    << ecran + QStringLiteral("||-|-");
            }
        }
    }
    void entryKeys() {
        QFETCH(QString, setup);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        VornEuro* w = open();
        run(w, setup);
        m_dialogs->clear();
        run(w, key);
        QCOMPARE(display(w), expected);
        QVERIFY(m_dialogs->calls().isEmpty());
    }

    // Scripts from a new window: the display they leave and the error boxes on the way.
    void scripts_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QList<int>>("errors");
        for (const StartState& state : kStates) {
            QTest::addRow("%s, delete", state.name)
                << QString::fromLatin1(state.script) + QStringLiteral(" delete") << "||-|-"
                << (state.error ? QList<int>{state.error} : QList<int>{});
        }
        auto row = [](const char* name, const char* script, const char* expected,
                      QList<int> errors = {}) {
            QTest::newRow(name) << QString::fromLatin1(script) << QString::fromUtf8(expected)
                                << errors;
        };
        // The keys check nothing and always append at the very end.
        row("leading zeros", "zero zero zero sept", "0007||-|-");
        row("two commas", "virgule virgule", ",,||-|-");
        row("cursor at the start", "un deux home trois", "123||-|-");
        row("all selected", "un deux select trois", "123||-|-");
        // Conversions from each state.
        row("empty display, euros", "euros", "||-|-");
        row("empty display, francs", "francs", "||-|-");
        row("entry, euros", "un deux euros", "1,829|Euros|12|Francs");
        row("entry, francs", "un deux francs", "78,715|Francs|12|Euros");
        row("points read as commas", "type:4.5 euros", "0,686|Euros|4,5|Francs");
        row("euros twice", "un zero zero euros euros", "2,324|Euros|15,245|Francs");
        row("and back", "un zero zero euros francs", "100,001|Francs|15,245|Euros");
        row("francs twice", "un francs francs", "43,031|Francs|6,56|Euros");
        row("result typed over", "un zero zero euros type:9 euros", "2,324|Euros|15,2459|Francs");
        row("result emptied, euros", "un zero zero euros erase euros", "|Euros|100|Francs");
        row("result emptied, francs", "un zero zero euros erase francs", "|Euros|100|Francs");
        row("cleared result, euros", "un euros delete euros", "||-|-");
        // Failures show the copy and the units, then the next amount converts normally.
        row("lone comma", "virgule euros", ",|Euros|,|Francs", {13});
        row("two commas typed", "type:1,2,3 francs", "1,2,3|Francs|1,2,3|Euros", {13});
        row("points become commas first", "type:1.2.3 euros", "1.2.3|Euros|1,2,3|Francs", {13});
        row("letters", "type:cent francs", "cent|Francs|cent|Euros", {13});
        row("product too large", "type:1E308 francs", "1E308|Francs|1E308|Euros", {6});
        row("amount too large", "type:1E400 euros", "1E400|Euros|1E400|Francs", {6});
        row("error then a key", "virgule euros cinq euros", "0,762|Euros|5|Francs", {13});
        row("error then typed", "type:x euros erase type:100 euros", "15,245|Euros|100|Francs",
            {13});
        row("error then the other way", "virgule euros francs", ",|Francs|,|Euros", {13, 13});
    }
    void scripts() {
        QFETCH(QString, script);
        QFETCH(QString, expected);
        QFETCH(QList<int>, errors);
        VornEuro* w = open();
        run(w, script);
        QCOMPARE(display(w), expected);
        QCOMPARE(errorNumbers(), errors);
    }

    void focusAtOpen() {
        VornEuro* w = open();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QCOMPARE(QApplication::focusWidget(), control(w, "ecran"));
        QWidget* first = w->nextInFocusChain();
        while (first != w && !(first->focusPolicy() & Qt::TabFocus))
            first = first->nextInFocusChain();
        QCOMPARE(first, control(w, "ecran"));
    }

    // Enter presses the focused button; from the display it is `euros`.
    void enterKey_data() {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Return in the display")
            << "100"
            << "ecran" << int(Qt::Key_Return) << "15,245|Euros|100|Francs";
        QTest::newRow("keypad Enter") << "100"
                                      << "ecran" << int(Qt::Key_Enter) << "15,245|Euros|100|Francs";
        QTest::newRow("empty display") << ""
                                       << "ecran" << int(Qt::Key_Return) << "||-|-";
        QTest::newRow("on francs") << "100"
                                   << "francs" << int(Qt::Key_Return) << "655,957|Francs|100|Euros";
        QTest::newRow("on a digit key") << "100"
                                        << "un" << int(Qt::Key_Return) << "1001||-|-";
    }
    void enterKey() {
        QFETCH(QString, amount);
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(QString, expected);
        VornEuro* w = open();
        QVERIFY(QTest::qWaitForWindowActive(w));
        control<QLineEdit>(w, "ecran")->setText(amount);
        QWidget* target = control(w, focus);
        target->setFocus();
        QTest::keyClick(target, Qt::Key(key),
                        key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QCOMPARE(display(w), expected);
        QVERIFY(m_dialogs->calls().isEmpty());
    }

    void offClosesAndReopensEmpty() {
        QPointer<VornEuro> w = open();
        run(w, "un zero zero euros type:7 off");
        QVERIFY(!Forms::instance().isLoaded<VornEuro>());
        QTRY_VERIFY(w.isNull());
        QCOMPARE(display(open()), QStringLiteral("||-|-"));
        QVERIFY(m_dialogs->calls().isEmpty());
    }

    void shot() {
        const QString path = qEnvironmentVariable("VORN_SHOT");
        if (path.isEmpty())
            QSKIP("set VORN_SHOT to a PNG path to save a picture of the window");
        VornEuro* w = open();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        run(w, "un zero zero euros");
        QVERIFY(w->grab().save(path));
    }
};

QTEST_MAIN(TestVornEuro)
#include "tst_vorneuro.moc"
