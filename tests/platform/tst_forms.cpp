#include "platform/controls.h"
#include "platform/forms.h"
#include "platform/placement.h"
#include "platform/runtimeerror.h"
#include "support/testsupport.h"

#include <QApplication>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QSignalSpy>
#include <QStyle>
#include <QToolButton>
#include <QtTest>

using namespace vorn;

namespace {

// Records the order of its lifecycle handlers; its button raises a run-time error halfway.
class Probe : public Form {
    Q_OBJECT

public:
    Probe()
        : Form(QStringLiteral("Probe"), QStringLiteral("Sonde"), QSizeF(3000, 1500)) {
        ++s_created;
        Button = new CommandButton(client(), {"Button", "Go", {120, 120, 1200, 375}});
        Other = new CommandButton(client(), {"Other", "Autre", {1500, 120, 1200, 375}});
        Box = new TextBox(client(), {"Box", nullptr, {120, 700, 1200, 375}});
        setDefaultButton(Other);
        connect(Button, &CommandButton::Click, this, handler(&Probe::Button_Click));
        connect(Other, &CommandButton::Click, this, handler([this] { ++otherClicks; }));
    }
    ~Probe() override { ++s_destroyed; }

    void Button_Click() {
        Box->setText(QStringLiteral("avant"));
        vorn::raise(ErrorNumber::TypeMismatch);
        Box->setText(QStringLiteral("après")); // never reached
    }

    QStringList events;
    bool shownAtLoad = true;
    int otherClicks = 0;
    CommandButton* Button;
    CommandButton* Other;
    TextBox* Box;
    static int s_created;
    static int s_destroyed;

protected:
    void Form_Load() override {
        shownAtLoad = isVisible();
        events << QStringLiteral("load");
    }
    void Form_Unload() override { events << QStringLiteral("unload"); }
};

int Probe::s_created = 0;
int Probe::s_destroyed = 0;

class Second : public Form {
    Q_OBJECT

public:
    Second()
        : Form(QStringLiteral("Second"), QStringLiteral("Deux"), QSizeF(2000, 1000)) {}
};

// Unloads itself from one of its own handlers.
class SelfCloser : public Form {
    Q_OBJECT

public:
    SelfCloser()
        : Form(QStringLiteral("SelfCloser"), QStringLiteral("Auto"), QSizeF(2000, 1000)) {
        Close = new CommandButton(client(), {"Close", "Fermer", {0, 0, 1000, 375}});
        connect(Close, &CommandButton::Click, this, handler([this] {
                    Forms::instance().unload(this);
                    touchedAfterUnload = Close->text(); // still alive until the handler returns
                }));
    }
    CommandButton* Close;
    QString touchedAfterUnload;
};

// Leaves as the prank does, right after a box: asked from its button before it unloads, or
// as it is closed (`boxOnClose`); `handsOver` shows another window as it goes.
class Leaver : public Form {
    Q_OBJECT

public:
    Leaver()
        : Form(QStringLiteral("Leaver"), QStringLiteral("Départ"), QSizeF(2000, 1000)) {
        Leave = new CommandButton(client(), {"Leave", "Partir", {0, 0, 1000, 375}});
        connect(Leave, &CommandButton::Click, this, handler([this] {
                    sayGoodbye();
                    Forms::instance().unload(this);
                }));
    }
    CommandButton* Leave;
    bool boxOnClose = false;
    bool handsOver = false;

protected:
    void Form_Unload() override {
        if (boxOnClose)
            sayGoodbye();
        if (handsOver)
            Forms::instance().show<Second>();
    }

private:
    void sayGoodbye() { msgBox(this, QStringLiteral("Au revoir"), {}, QStringLiteral("Départ")); }
};

// Asks two boxes while it loads, still hidden, as the lottery asks its names.
class Asker : public Form {
    Q_OBJECT

public:
    Asker()
        : Form(QStringLiteral("Asker"), QStringLiteral("Questions"), QSizeF(2000, 1000)) {}

protected:
    void Form_Load() override {
        for (const char* title : {"Premier", "Second"})
            msgBox(this, QStringLiteral("?"), {}, QString::fromLatin1(title));
    }
};

} // namespace

class TestForms : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { test::initRuntime(*qApp); }
    void cleanup() { test::destroyForms(); }

    void referenceCreatesOnceAndLoadsBeforeShow() {
        const int before = Probe::s_created;
        Probe* first = Forms::instance().ref<Probe>();
        QVERIFY(!first->shownAtLoad);
        QCOMPARE(first->events, QStringList{QStringLiteral("load")});
        QCOMPARE(Forms::instance().show<Probe>(), first);
        QVERIFY(first->isVisible());
        QCOMPARE(Forms::instance().ref<Probe>(), first);
        QCOMPARE(Probe::s_created, before + 1);
        QCOMPARE(first->events.count(QStringLiteral("load")), 1);
    }

    void unloadRunsHandlerAndNextReferenceIsFresh() {
        QPointer<Probe> first = Forms::instance().show<Probe>();
        first->Box->setText(QStringLiteral("état"));
        QStringList seen;
        connect(&Forms::instance(), &Forms::formUnloaded, this,
                [&](const QString&) { seen = first ? first->events : QStringList(); });
        Forms::instance().unload(first);
        QCOMPARE(seen, (QStringList{QStringLiteral("load"), QStringLiteral("unload")}));
        QVERIFY(!Forms::instance().isLoaded<Probe>());
        QTRY_VERIFY(first.isNull());
        Probe* fresh = Forms::instance().show<Probe>();
        QVERIFY(fresh->Box->text().isEmpty());
        disconnect(&Forms::instance(), &Forms::formUnloaded, this, nullptr);
    }

    void titleBarCloseIsAnUnload() {
        QPointer<Probe> form = Forms::instance().show<Probe>();
        QVERIFY(form->close());
        QVERIFY(!Forms::instance().isLoaded<Probe>());
        QTRY_VERIFY(form.isNull());
    }

    void lastUnloadEndsTheProgramAndHiddenWindowsCount() {
        QSignalSpy last(&Forms::instance(), &Forms::lastFormUnloaded);
        Probe* probe = Forms::instance().show<Probe>();
        Second* second = Forms::instance().show<Second>();
        Forms::instance().hideForm(second);
        Forms::instance().unload(probe);
        QCOMPARE(last.count(), 0); // the hidden window is still loaded
        QCOMPARE(Forms::instance().loadedCount(), 1);
        Forms::instance().unload(second);
        QCOMPARE(last.count(), 1);
        QCOMPARE(Forms::instance().loadedCount(), 0);
    }

    void handlerMayUnloadItsOwnWindow() {
        QPointer<SelfCloser> form = Forms::instance().show<SelfCloser>();
        form->Close->click();
        QCOMPARE(form->touchedAfterUnload, QStringLiteral("Fermer"));
        QVERIFY(!Forms::instance().isLoaded<SelfCloser>());
        QTRY_VERIFY(form.isNull());
    }

    // A window manager may give the keyboard to the window whose box has just closed, then to
    // nothing as that window leaves: the program hands it back then, and only then.
    void keyboardGoesBackAsAWindowLeavesAfterItsBox_data() {
        QTest::addColumn<bool>("byButton");
        QTest::addColumn<bool>("boxOnClose");
        QTest::addColumn<bool>("handsOver");
        QTest::addColumn<QString>("takesKeys");
        QTest::newRow("unloaded after its box") << true << false << false << "Probe";
        QTest::newRow("its box as it is closed") << false << true << false << "Probe";
        QTest::newRow("showing another as it goes") << true << false << true << "Second";
        QTest::newRow("closed from outside, no box") << false << false << false << "";
    }
    void keyboardGoesBackAsAWindowLeavesAfterItsBox() {
        QFETCH(bool, byButton);
        QFETCH(bool, boxOnClose);
        QFETCH(bool, handsOver);
        QFETCH(QString, takesKeys);
        Probe* before = Forms::instance().show<Probe>();
        QVERIFY(QTest::qWaitForWindowActive(before));
        Leaver* leaver = Forms::instance().show<Leaver>();
        QVERIFY(QTest::qWaitForWindowActive(leaver));
        leaver->boxOnClose = boxOnClose;
        leaver->handsOver = handsOver;
        const auto press = test::pressOnNextBox(QMessageBox::Ok);
        if (byButton)
            QTest::mouseClick(leaver->Leave, Qt::LeftButton);
        else
            leaver->close();
        QVERIFY(!Forms::instance().isLoaded<Leaver>());
        if (takesKeys.isEmpty()) {
            QCoreApplication::processEvents();
            QVERIFY(!QApplication::activeWindow());
        } else {
            QTRY_VERIFY(QApplication::activeWindow());
            QCOMPARE(QApplication::activeWindow()->objectName(), takesKeys);
        }
    }

    void boxesOfAHiddenWindowComeOverTheWindowTheUserIsIn_data() {
        QTest::addColumn<QString>("userIn");
        QTest::newRow("the first window") << "Probe";
        QTest::newRow("the second window") << "Second";
    }
    void boxesOfAHiddenWindowComeOverTheWindowTheUserIsIn() {
        QFETCH(QString, userIn);
        QList<Form*> shown{Forms::instance().show<Probe>(), Forms::instance().show<Second>()};
        Form* in = shown.at(userIn == QLatin1String("Probe") ? 0 : 1);
        Forms::instance().showForm(in);
        QVERIFY(QTest::qWaitForWindowActive(in));
        QStringList owners;
        // The timer ends with this function, so the lambda never outlives what it captures.
        QTimer timer;
        connect(&timer, &QTimer::timeout, &timer, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                owners << (box->parentWidget() ? box->parentWidget()->objectName() : QString());
                box->button(QMessageBox::Ok)->click();
            }
        });
        timer.start(20);
        Forms::instance().ref<Asker>();
        QCOMPARE(owners, QStringList({userIn, userIn}));
    }

    void guardReportsErrorAndProgramGoesOn() {
        test::ScriptedDialogs dialogs;
        Probe* form = Forms::instance().show<Probe>();
        form->Button->click();
        QCOMPARE(dialogs.errors().size(), 1);
        const auto error = dialogs.errors().first();
        QCOMPARE(error.style, 13);
        QCOMPARE(error.text, QStringLiteral("Type incompatible"));
        QCOMPARE(error.parent, QStringLiteral("Probe"));
        QCOMPARE(form->Box->text(), QStringLiteral("avant")); // what it changed stays
        form->Button->click();                                // and it still works
        QCOMPARE(dialogs.errors().size(), 2);
        QVERIFY(Forms::instance().isLoaded<Probe>());
    }

    void realErrorBoxHasTitleAndText() {
        Probe* form = Forms::instance().show<Probe>();
        QString title;
        QString text;
        const auto press = test::pressOnNextBox(QMessageBox::Ok, &title, &text);
        form->Button->click();
        QCOMPARE(title, QStringLiteral("VornUtil"));
        QCOMPARE(text, QStringLiteral("Erreur d'exécution '13':\n\nType incompatible"));
    }

    void standardMessageBoxAnswers_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("answer");
        QTest::newRow("ok") << 0 << int(QMessageBox::Ok) << 1;
        QTest::newRow("ok of ok/cancel") << 49 << int(QMessageBox::Ok) << 1;
        QTest::newRow("cancel of ok/cancel") << 49 << int(QMessageBox::Cancel) << 2;
        QTest::newRow("retry") << 53 << int(QMessageBox::Retry) << 4;
        QTest::newRow("cancel of retry/cancel") << 5 << int(QMessageBox::Cancel) << 2;
    }
    void standardMessageBoxAnswers() {
        QFETCH(int, style);
        QFETCH(int, button);
        QFETCH(int, answer);
        Probe* form = Forms::instance().show<Probe>();
        QString title;
        const auto press = test::pressOnNextBox(QMessageBox::StandardButton(button), &title);
        QCOMPARE(answerNumber(msgBox(form, QStringLiteral("Question ?"),
                                     MessageStyle::fromNumber(style), QStringLiteral("Titre"))),
                 answer);
        QCOMPARE(title, QStringLiteral("Titre"));
    }

    // Two boxes that ask for the same icon of a standard button get one picture:
    // a fresh icon for each box stays in Qt's pixmap cache after its box is gone, and a day of
    // boxes piles them up.
    void boxesShareTheirIcons_data() {
        QTest::addColumn<int>("icon");
        QTest::newRow("OK") << int(QStyle::SP_DialogOkButton);
        QTest::newRow("Annuler") << int(QStyle::SP_DialogCancelButton);
    }
    void boxesShareTheirIcons() {
        QFETCH(int, icon);
        const auto which = QStyle::StandardPixmap(icon);
        QMessageBox first;
        QMessageBox second;
        const QPixmap shown = first.style()->standardIcon(which, nullptr, &first).pixmap(16);
        QVERIFY(!shown.isNull());
        QCOMPARE(second.style()->standardIcon(which, nullptr, &second).pixmap(16).cacheKey(),
                 shown.cacheKey());
    }

    void frenchStandardButtons() {
        Probe* form = Forms::instance().show<Probe>();
        QStringList captions;
        // The timer ends with this function, so the lambda never outlives what it captures.
        QTimer timer;
        connect(&timer, &QTimer::timeout, &timer, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                for (auto* b : box->buttons())
                    captions << b->text().remove(QLatin1Char('&'));
                box->button(QMessageBox::Cancel)->click();
                timer.stop();
            }
        });
        timer.start(20);
        msgBox(form, QStringLiteral("?"), {Buttons::RetryCancel, MessageIcon::None},
               QStringLiteral("T"));
        QVERIFY2(captions.contains(QStringLiteral("Réessayer")), qPrintable(captions.join(',')));
        QVERIFY(captions.contains(QStringLiteral("Annuler")));
    }

    void enterPressesDefaultButtonUnlessAButtonHasFocus() {
        Probe* form = Forms::instance().show<Probe>();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        form->Box->setFocus();
        QTest::keyClick(form->Box, Qt::Key_Return);
        QCOMPARE(form->otherClicks, 1);
        QTest::keyClick(form->Box, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(form->otherClicks, 2);
        test::holdKey(form, Qt::Key_Return); // held down, it presses once
        QCOMPARE(form->otherClicks, 3);
        // Held from a button on, Space types nothing into the box the focus reaches meanwhile
        // (the name box the button's click opened).
        QVERIFY(QTest::qWaitForWindowActive(form));
        form->Other->setFocus();
        QTest::keyPress(form->Other, Qt::Key_Space);
        form->Box->setFocus();
        test::repeatKey(form, Qt::Key_Space);
        QCOMPARE(form->Box->text(), QString());
        QCOMPARE(form->otherClicks, 3);
        // Handed on by the accessibility bridge, key events carry no instant: two taps are two.
        for (int tap = 0; tap < 2; ++tap) {
            for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
                QKeyEvent event(type, Qt::Key_Return, Qt::NoModifier, 36, 0, 0,
                                QStringLiteral("\r"));
                QCoreApplication::sendEvent(form->Box, &event);
            }
        }
        QCOMPARE(form->otherClicks, 5);
        test::ScriptedDialogs dialogs;
        form->Button->setFocus();
        QTest::keyClick(form->Button, Qt::Key_Return); // the focused button, not the default
        QCOMPARE(form->otherClicks, 5);
        QCOMPARE(dialogs.errors().size(), 1);
    }

    // The box a held Enter opened waits for a press of its own: the presses the keyboard repeats
    // while the key is still down do not answer it unseen.
    void heldEnterLeavesTheBoxItOpened() {
        Leaver* leaver = Forms::instance().show<Leaver>();
        QVERIFY(QTest::qWaitForWindowActive(leaver));
        leaver->Leave->setFocus();
        bool stayed = false;
        QTimer watch;
        connect(&watch, &QTimer::timeout, &watch, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            watch.stop();
            test::repeatKey(box, Qt::Key_Return);
            stayed = box->isVisible();
            QTest::keyClick(box->windowHandle(), Qt::Key_Return);
        });
        watch.start(20);
        QTest::keyPress(leaver->Leave, Qt::Key_Return);
        QVERIFY(stayed);
        QVERIFY(!Forms::instance().isLoaded<Leaver>());
    }

    void outerSizeInTwipsIsExactAndFollowsResizes() {
        Probe* form = Forms::instance().show<Probe>();
        form->setWidth(6000);
        form->setHeight(2000);
        QCOMPARE(form->Width(), 6000.0f);
        QCOMPARE(form->Height(), 2000.0f);
        QCOMPARE(form->property("Height").toFloat(), 2000.0f);
        form->resize(300, 150); // the user drags the frame
        const QMargins m = form->windowHandle()->frameMargins();
        QCOMPARE(form->Width(), float((300 + m.left() + m.right()) * 15));
        QCOMPARE(form->Height(), float((150 + m.top() + m.bottom()) * 15));
    }

    // A hidden window returns to its kept place unless the program placed it meanwhile.
    void placeSetWhileHiddenIsKept_data() {
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<float>("twips");
        QTest::newRow("Left") << QByteArray("Left") << 4500.0f;
        QTest::newRow("Top") << QByteArray("Top") << 3000.0f;
        QTest::newRow("Width") << QByteArray("Width") << 7500.0f;
        QTest::newRow("Height") << QByteArray("Height") << 2400.0f;
    }
    void placeSetWhileHiddenIsKept() {
        QFETCH(QByteArray, property);
        QFETCH(float, twips);
        Probe* form = Forms::instance().show<Probe>();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        Forms::instance().hideForm(form);
        form->setProperty(property, twips);
        QCOMPARE(form->property(property).toFloat(), twips);
        Forms::instance().showForm(form);
        QCOMPARE(form->property(property).toFloat(), twips);
    }

    // A window shown again comes back where it stood while a screen still shows its title bar,
    // and onto the nearest screen when the one it stood on has gone.
    void keptFrameComesBackWhereItCanBeReached_data() {
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QList<QRect>>("screens");
        QTest::addColumn<QPoint>("expected");
        const QRect laptop(0, 0, 1920, 1080);
        const QRect right(1920, 0, 1366, 768);
        const QRect below(0, 1080, 1366, 768);
        const QRect launcher(0, 0, 269, 95);
        QTest::newRow("on its screen")
            << launcher.translated(300, 200) << QList{laptop} << QPoint(300, 200);
        QTest::newRow("on a second screen")
            << launcher.translated(2220, 200) << QList{laptop, right} << QPoint(2220, 200);
        QTest::newRow("the screen on the right unplugged")
            << launcher.translated(2220, 200) << QList{laptop} << QPoint(1651, 200);
        QTest::newRow("on a screen below")
            << launcher.translated(300, 1280) << QList{laptop, below} << QPoint(300, 1280);
        QTest::newRow("the screen below unplugged")
            << launcher.translated(300, 1280) << QList{laptop} << QPoint(300, 985);
        QTest::newRow("left half off the edge")
            << launcher.translated(1800, 200) << QList{laptop} << QPoint(1800, 200);
        QTest::newRow("less of the title bar shown than it is tall")
            << launcher.translated(1901, 200) << QList{laptop} << QPoint(1651, 200);
        QTest::newRow("title bar above the top")
            << launcher.translated(300, -10) << QList{laptop} << QPoint(300, 0);
        QTest::newRow("larger than the screen")
            << QRect(900, 300, 1000, 800) << QList{QRect(0, 0, 800, 600)} << QPoint(0, 0);
        QTest::newRow("onto the screen it overlaps most")
            << QRect(1800, -50, 400, 300) << QList{laptop, right} << QPoint(1920, 0);
        QTest::newRow("onto the nearest screen")
            << launcher.translated(5000, 100) << QList{laptop, right} << QPoint(3017, 100);
        QTest::newRow("no screen known")
            << launcher.translated(5000, 100) << QList<QRect>{} << QPoint(5000, 100);
    }
    void keptFrameComesBackWhereItCanBeReached() {
        QFETCH(QRect, frame);
        QFETCH(QList<QRect>, screens);
        QFETCH(QPoint, expected);
        const QRect placed = reachablePlace(frame, 20, screens);
        QCOMPARE(placed.topLeft(), expected);
        QCOMPARE(placed.size(), frame.size());
    }

    // The window itself: hidden while it stood off the screen, as on a monitor since
    // unplugged, it is shown again on the screen.
    void hiddenWindowComesBackOnTheScreen_data() {
        QTest::addColumn<QPoint>("offset");
        QTest::newRow("on the screen") << QPoint(30, 40);
        QTest::newRow("beyond the right edge") << QPoint(5000, 40);
        QTest::newRow("below the bottom") << QPoint(30, 5000);
    }
    void hiddenWindowComesBackOnTheScreen() {
        QFETCH(QPoint, offset);
        Probe* form = Forms::instance().show<Probe>();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        const QRect screen = form->screen()->availableGeometry();
        form->move(screen.topLeft() + offset);
        QTRY_COMPARE(form->pos(), screen.topLeft() + offset);
        Forms::instance().hideForm(form);
        Forms::instance().showForm(form);
        const QRect frame = form->frameGeometry();
        const QPoint expected(
            std::min(screen.left() + offset.x(), screen.right() + 1 - frame.width()),
            std::min(screen.top() + offset.y(), screen.bottom() + 1 - frame.height()));
        QTRY_COMPARE(form->pos(), expected);
    }

    // A maximised window keeps the screen when the program sizes it, and takes the size when
    // the user restores it, keeping its other side.
    void sizeSetWhileMaximisedTakesEffectOnRestore_data() {
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<float>("twips");
        QTest::addColumn<QByteArray>("other");
        QTest::newRow("Width") << QByteArray("Width") << 7500.0f << QByteArray("Height");
        QTest::newRow("Height") << QByteArray("Height") << 2400.0f << QByteArray("Width");
    }
    void sizeSetWhileMaximisedTakesEffectOnRestore() {
        QFETCH(QByteArray, property);
        QFETCH(float, twips);
        QFETCH(QByteArray, other);
        Probe* form = Forms::instance().show<Probe>();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        const float otherSide = form->property(other).toFloat();
        form->showMaximized();
        QTRY_VERIFY(form->isMaximized());
        const QSize maximised = form->size();
        form->setProperty(property, twips);
        QVERIFY(form->isMaximized());
        QCOMPARE(form->size(), maximised);
        form->showNormal();
        QTRY_COMPARE(form->property(property).toFloat(), twips);
        QCOMPARE(form->property(other).toFloat(), otherSide);
    }

    void menusThatDoNotFitShowBehindThePicturedOverflowButton() {
        auto* form = Forms::instance().show<Probe>();
        for (int i = 1; i <= 8; ++i)
            form->menuBar()->addMenu(QStringLiteral("Menu numéro %1").arg(i));
        QVERIFY(QTest::qWaitForWindowExposed(form));
        const auto* button = form->menuBar()->findChild<QToolButton*>(
            QStringLiteral("qt_menubar_ext_button"), Qt::FindDirectChildrenOnly);
        QVERIFY(button);
        QTRY_VERIFY(button->isVisible());
        const QIcon expected =
            QApplication::style()->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton);
        QVERIFY(!button->icon().isNull());
        // Qt may scale an icon's first pixmap of a size a little differently from the next.
        QVERIFY(test::looksAlike(button->icon().pixmap(16).toImage(), expected.pixmap(16).toImage(),
                                 2));
    }
};

QTEST_MAIN(TestForms)
#include "tst_forms.moc"
