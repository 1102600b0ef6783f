#include "platform/forms.h"
#include "shell/catalogue.h"
#include "support/testsupport.h"

#include <QApplication>
#include <QPointer>
#include <QtTest>

using namespace vorn;

namespace {

int topLevelCount() {
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        count += w->objectName().isEmpty() && !w->isVisible() ? 0 : 1;
    return count;
}

} // namespace

// Opens and closes every window many times, by each way of closing, and checks that each
// opening makes exactly one copy and each closing leaves nothing behind.
class TestEndurance : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { test::initRuntime(*qApp); }
    void cleanup() { test::destroyForms(); }

    void openAndCloseEveryWindow() {
        test::ScriptedDialogs dialogs; // answers the lottery's names and the prank's message
        const int rounds = 200;
        const int baseline = topLevelCount();
        for (int round = 0; round < rounds; ++round) {
            for (const WindowEntry& w : windowCatalogue()) {
                QPointer<Form> form = w.open();
                QCOMPARE(form->objectName(), QString::fromUtf8(w.name));
                QCOMPARE(w.open(), form.data()); // a second reference, no second copy
                QCoreApplication::processEvents();
                if (round % 2 == 0)
                    form->close(); // the title-bar close
                else
                    Forms::instance().unload(form);
                // Closing the lottery opens the about window and closing the exit screen by
                // the window system brings the main window back: close those as well.
                for (Form* other : Forms::instance().loadedForms())
                    Forms::instance().unload(other);
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                QVERIFY2(form.isNull(), w.name);
            }
            QCOMPARE(Forms::instance().loadedCount(), 0);
            QCOMPARE(topLevelCount(), baseline);
            dialogs.clear();
        }
    }

    // The session manager ends the program at logout by sending the application a quit
    // event: whatever window is open, the program ends at once, asks nothing and opens
    // nothing, as nobody is left to answer.
    void sessionEndEndsAtOnceWhateverIsOpen() {
        test::ScriptedDialogs dialogs;
        for (const WindowEntry& w : windowCatalogue()) {
            w.open();
            QCoreApplication::processEvents();
            dialogs.clear();
            QStringList before;
            for (Form* form : Forms::instance().loadedForms())
                before << form->objectName();
            QTimer::singleShot(0, qApp, [] {
                QEvent quit(QEvent::Quit);
                QCoreApplication::sendEvent(qApp, &quit);
            });
            QTimer stuck; // ends a program the quit left running
            stuck.callOnTimeout([] { QCoreApplication::exit(1); });
            stuck.start(5000);
            QVERIFY2(QCoreApplication::exec() == 0, w.name);
            QVERIFY2(dialogs.calls().isEmpty(), w.name);
            for (Form* form : Forms::instance().loadedForms())
                QVERIFY2(before.contains(form->objectName()), w.name);
            test::destroyForms();
        }
    }
};

QTEST_MAIN(TestEndurance)
#include "tst_endurance.moc"
