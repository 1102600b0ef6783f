#include "chronology/main.h"
#include "platform/forms.h"
#include "support/testsupport.h"

#include <QApplication>
#include <QClipboard>
#include <QPlainTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QtTest>

using namespace vorn;
using vorn::test::DialogCall;
using vorn::test::ScriptedDialogs;

namespace {

const QString kReminder =
    QStringLiteral("La Bible prend en compte les dates allant de -4004 à 90 !");

// The nine answer boxes, row by row.
const char* const kBoxes[] = {"Text2", "Text10", "Text9", "Text6", "Text3",
                              "Text8", "Text4",  "Text7", "Text5"};

template <class T = QWidget> T* control(Main* window, const char* name) {
    T* found = window->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

QString textOf(Main* window, const char* name) {
    return control<QObject>(window, name)->property("Text").toString();
}

QStringList boxTexts(Main* window) {
    QStringList texts;
    for (const char* box : kBoxes)
        texts.append(textOf(window, box));
    return texts;
}

// Types `year` into the entry box and presses "OK".
void query(Main* window, const QString& year) {
    control<QLineEdit>(window, "Text1")->setText(year);
    control<QPushButton>(window, "Command1")->click();
}

QString label(Main* window, const char* name) {
    return control<QLabel>(window, name)->text();
}

double points(Main* window, const char* name) {
    return control<QLabel>(window, name)->font().pointSizeF();
}

} // namespace

class TestMain : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { vorn::test::initRuntime(*qApp); }
    void cleanup() { vorn::test::destroyForms(); }

    void opensShortWithTheEntryFocused() {
        Main* window = Forms::instance().show<Main>();
        QCOMPARE(window->objectName(), QStringLiteral("Main"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Autrefois..."));
        QCOMPARE(window->Height(), 2150.0f);
        QCOMPARE(window->defaultButton(), control<QPushButton>(window, "Command1"));
        QVERIFY(QTest::qWaitForWindowActive(window));
        QCOMPARE(QApplication::focusWidget(), control(window, "Text1"));
        QCOMPARE(label(window, "Label5"), QStringLiteral("  Patriarche"));
        QCOMPARE(label(window, "Label7"), QStringLiteral("           Juge"));
        QCOMPARE(boxTexts(window), QStringList(std::size(kBoxes), QString()));
        // The rows below the entry row are out of sight, whatever the frame's height, yet
        // each keeps its own visibility flag.
        for (const char* box : kBoxes) {
            QVERIFY(control(window, box)->property("readOnly").toBool());
            QVERIFY(!control(window, box)->isVisible());
            QVERIFY(control(window, box)->property("Visible").toBool());
        }
        query(window, QStringLiteral("-1225"));
        for (const char* box : kBoxes)
            QVERIFY(control(window, box)->isVisible());
    }

    void rangeCheck_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("empty") << "" << false;
        QTest::newRow("-4005") << "-4005" << false;
        QTest::newRow("-4004") << "-4004" << true;
        QTest::newRow("90") << "90" << true;
        QTest::newRow("91") << "91" << false;
        QTest::newRow("16-bit low end") << "-32768" << false;
        QTest::newRow("16-bit high end") << "32767" << false;
        QTest::newRow("the prompt's example") << "-1225" << true;
        QTest::newRow("rounded to -4004") << "-4004,4" << true;
    }
    void rangeCheck() {
        QFETCH(QString, entry);
        QFETCH(bool, accepted);
        ScriptedDialogs dialogs;
        Main* window = Forms::instance().show<Main>();
        query(window, entry);
        QCOMPARE(window->Height(), accepted ? 7600.0f : 2150.0f);
        if (accepted) {
            QVERIFY(dialogs.calls().isEmpty());
            QVERIFY(!textOf(window, "Text2").isEmpty());
        } else {
            QCOMPARE(dialogs.calls().size(), 1);
            const DialogCall& call = dialogs.calls().first();
            QCOMPARE(call.kind, DialogCall::Kind::Message);
            QCOMPARE(call.text, kReminder);
            QCOMPARE(call.title, QStringLiteral("Rappel"));
            QCOMPARE(call.style, 48);
            QCOMPARE(call.parent, QStringLiteral("Main"));
            QCOMPARE(boxTexts(window), QStringList(std::size(kBoxes), QString()));
        }
    }

    void answers_data() {
        QTest::addColumn<int>("year");
        QTest::addColumn<QStringList>("boxes"); // Text5 by its beginning
        // Typing the year already set the row labels to 16 points.
        QTest::addColumn<QString>("israelLabel");
        QTest::addColumn<double>("israelPoints");
        QTest::addColumn<QString>("judahLabel");
        QTest::addColumn<double>("judahPoints");
        // What a screen reader is told: those in office; where there are none, every row.
        QTest::addColumn<QString>("told");
        const QString israel = QStringLiteral("Roi d'Israël");
        const QString judah = QStringLiteral("Roi de Juda");
        const QString out = QStringLiteral("Hors période");
        QTest::newRow("-1460") << -1460
                               << QStringList{"Moïse", "-1491 à -1451", out, "", out, "", out,
                                              "",      "Exode (-1491)"}
                               << israel << 16.0 << judah << 16.0
                               << "Patriarche : Moïse, -1491 à -1451.";
        QTest::newRow("-1225") << -1225
                               << QStringList{"Aucun", "", "Gédéon", "-1249 à -1209", out, "",
                                              out,     "", ""}
                               << israel << 16.0 << judah << 16.0
                               << "Juge : Gédéon, -1249 à -1209.";
        // The judges' group text stays: the commentary lookup writes nothing that year.
        QTest::newRow("-1300") << -1300
                               << QStringList{"Aucun", "", " voir commentaires",    "", out, "",
                                              out,     "", "Ehoud, Chamgar, Débora"}
                               << israel << 16.0 << judah << 16.0
                               << "Patriarche : Aucun ; Juge : voir commentaires ; "
                                  "Roi d'Israël : Hors période ; Roi de Juda : Hors période.";
        QTest::newRow("40") << 40 << QStringList{"Aucun",
                                                 "",
                                                 out,
                                                 "",
                                                 "Hérode Agrippa 1er",
                                                 "39 à 44",
                                                 "Hérode Agrippa 1er",
                                                 "39 à 44",
                                                 ""}
                            << "Roi du Pays" << 14.0 << "Roi du Pays" << 14.0
                            << "Roi du Pays : Hérode Agrippa 1er, 39 à 44.";
        QTest::newRow("58") << 58 << QStringList{"Aucun",
                                                 "",
                                                 out,
                                                 "",
                                                 "Non mentionné",
                                                 "",
                                                 "Félix",
                                                 "52 à 58",
                                                 "Néron est empereur"}
                            << israel << 16.0 << "Procurateur de Juda" << 11.0
                            << "Procurateur de Juda : Félix, 52 à 58.";
    }
    void answers() {
        QFETCH(int, year);
        QFETCH(QStringList, boxes);
        QFETCH(QString, israelLabel);
        QFETCH(double, israelPoints);
        QFETCH(QString, judahLabel);
        QFETCH(double, judahPoints);
        QFETCH(QString, told);
        Main* window = Forms::instance().show<Main>();
        query(window, QString::number(year));
        QCOMPARE(vorn::test::lastAnnouncement(window), told);
        QStringList got = boxTexts(window);
        QVERIFY2(got.last().startsWith(boxes.last()), qPrintable(got.last()));
        QVERIFY(boxes.last().isEmpty() == got.last().isEmpty());
        got.removeLast();
        boxes.removeLast();
        QCOMPARE(got, boxes);
        QCOMPARE(label(window, "Label3"), israelLabel);
        QCOMPARE(points(window, "Label3"), israelPoints);
        QCOMPARE(label(window, "Label4"), judahLabel);
        QCOMPARE(points(window, "Label4"), judahPoints);
    }

    void editingTheYearEmptiesTheAnswers() {
        Main* window = Forms::instance().show<Main>();
        query(window, QStringLiteral("40"));
        QCOMPARE(label(window, "Label3"), QStringLiteral("Roi du Pays"));
        QTest::keyClick(control(window, "Text1"), Qt::Key_Backspace);
        QCOMPARE(boxTexts(window), QStringList(std::size(kBoxes), QString()));
        const struct {
            const char* name;
            const char* caption;
        } restored[] = {{"Label7", "           Juge"},
                        {"Label3", "Roi d'Israël"},
                        {"Label4", "Roi de Juda"},
                        {"Label5", "  Patriarche"}};
        for (const auto& r : restored) {
            QCOMPARE(label(window, r.name), QString::fromUtf8(r.caption));
            QCOMPARE(points(window, r.name), 16.0);
        }
        QCOMPARE(label(window, "Label6"), QStringLiteral("Commentaire"));
        QCOMPARE(points(window, "Label6"), 15.75);
        QCOMPARE(window->Height(), 7600.0f);
        // An out-of-range year after that keeps the window tall and the boxes empty.
        ScriptedDialogs dialogs;
        query(window, QStringLiteral("91"));
        QCOMPARE(dialogs.calls().size(), 1);
        QCOMPARE(window->Height(), 7600.0f);
    }

    void askingTwiceGivesTheSameAnswers() {
        Main* window = Forms::instance().show<Main>();
        query(window, QStringLiteral("-330"));
        const QStringList first = boxTexts(window);
        control<QPushButton>(window, "Command1")->click();
        QCOMPARE(boxTexts(window), first);
    }

    void enterPressesOk() {
        Main* window = Forms::instance().show<Main>();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QWidget* entry = control(window, "Text1");
        QTest::keyClicks(entry, QStringLiteral("-1225"));
        QTest::keyClick(entry, Qt::Key_Return);
        QCOMPARE(textOf(window, "Text9"), QStringLiteral("Gédéon"));
        QCOMPARE(window->Height(), 7600.0f);
    }

    // A year that is no 16-bit number reports the run-time error; the window stays as it
    // was and answers the next valid year.
    void badYearReportsTheError_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("error");
        QTest::newRow("letters") << "abc" << 13;
        QTest::newRow("spaces only") << "   " << 13;
        QTest::newRow("decimal point") << "-12.5" << 13;
        QTest::newRow("above 32767") << "40000" << 6;
        QTest::newRow("below -32768") << "-32769" << 6;
    }
    void badYearReportsTheError() {
        QFETCH(QString, entry);
        QFETCH(int, error);
        ScriptedDialogs dialogs;
        Main* window = Forms::instance().show<Main>();
        control<QLineEdit>(window, "Text1")->setText(entry);
        control<QPushButton>(window, "Command1")->click();
        QCOMPARE(dialogs.calls().size(), 1);
        QCOMPARE(dialogs.errors().size(), 1);
        QCOMPARE(dialogs.errors().first().style, error);
        QCOMPARE(window->Height(), 2150.0f);

        query(window, QStringLiteral("40"));
        dialogs.clear();
        const QStringList before = boxTexts(window);
        control<QLineEdit>(window, "Text1")->setText(entry);
        const QStringList emptied = boxTexts(window);
        control<QPushButton>(window, "Command1")->click();
        QCOMPARE(dialogs.errors().size(), 1);
        QCOMPARE(boxTexts(window), emptied);
        QCOMPARE(window->Height(), 7600.0f);
        QCOMPARE(Forms::instance().loaded<Main>(), window);

        query(window, QStringLiteral("40"));
        QCOMPARE(boxTexts(window), before);
        QCOMPARE(dialogs.errors().size(), 1);
    }

    void annulerUnloads() {
        Main* window = Forms::instance().show<Main>();
        query(window, QStringLiteral("-1225"));
        QPointer<Main> closed(window);
        control<QPushButton>(window, "Command2")->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!closed);
        QVERIFY(!Forms::instance().isLoaded<Main>());
        Main* reopened = Forms::instance().show<Main>();
        QCOMPARE(reopened->Height(), 2150.0f);
        QCOMPARE(textOf(reopened, "Text1"), QString());
        QCOMPARE(boxTexts(reopened), QStringList(std::size(kBoxes), QString()));
    }

    // Each piece of a commentary starts a displayed line of its own in the box's real font,
    // while the box's text keeps every space.
    void commentaryPiecesStartLines_data() {
        QTest::addColumn<int>("year");
        for (int year : {-4004, -1950, -1706, -1491, -1055, -1015, -975, -330, -166, -63, 54})
            QTest::addRow("%d", year) << year;
    }
    void commentaryPiecesStartLines() {
        QFETCH(int, year);
        Main* window = Forms::instance().show<Main>();
        query(window, QString::number(year));
        auto* box = control<QPlainTextEdit>(window, "Text5");
        const QString text = box->toPlainText();
        QCOMPARE(text, *chronology::commentaires(static_cast<chronology::Year>(year))
                            .text(chronology::Output::Commentary));

        const QTextBlock block = box->document()->firstBlock();
        auto* layout = qobject_cast<QPlainTextDocumentLayout*>(box->document()->documentLayout());
        QVERIFY(layout);
        layout->ensureBlockLayout(block);
        const QTextLayout* lines = block.layout();
        static const QRegularExpression run(QStringLiteral(" {2,}"));
        QList<int> starts{0};
        for (auto it = run.globalMatch(text); it.hasNext();)
            starts.append(static_cast<int>(it.next().capturedEnd()));
        for (int start : starts) {
            const QTextLine line = lines->lineForTextPosition(start);
            QVERIFY(line.isValid());
            QVERIFY2(line.textStart() == start,
                     qPrintable(QStringLiteral("piece at %1 shares a line").arg(start)));
        }
        for (int i = 0; i < lines->lineCount(); ++i)
            QVERIFY(text.at(lines->lineAt(i).textStart()) != QLatin1Char(' '));
        QCOMPARE(box->horizontalScrollBar()->maximum(), 0);

        // The down arrow takes the caret to the start of the next line, where a screen reader
        // reads it.
        if (lines->lineCount() > 1) {
            box->moveCursor(QTextCursor::Start);
            QTest::keyClick(box, Qt::Key_Down);
            QCOMPARE(box->textCursor().position(), lines->lineAt(1).textStart());
        }

        // Copied, the commentary reads as its lines, with no run of spaces; so does a part of it
        // from within one piece to within the next, or to the next one's start, the line's break
        // included.
        const QStringList pieces = text.split(run, Qt::SkipEmptyParts);
        box->selectAll();
        box->copy();
        QCOMPARE(QGuiApplication::clipboard()->text(), pieces.join(QLatin1Char('\n')));
        if (pieces.size() > 1) {
            QTextCursor part(box->document());
            for (const int into : {2, 0}) {
                part.setPosition(2);
                part.setPosition(starts.at(1) + into, QTextCursor::KeepAnchor);
                box->setTextCursor(part);
                box->copy();
                QCOMPARE(QGuiApplication::clipboard()->text(),
                         pieces.at(0).mid(2) + QLatin1Char('\n') + pieces.at(1).left(into));
            }
        }
    }
};

QTEST_MAIN(TestMain)
#include "tst_main.moc"
