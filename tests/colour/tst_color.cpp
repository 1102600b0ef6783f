#include "colour/color.h"
#include "platform/forms.h"
#include "support/testsupport.h"

#include <QMessageBox>
#include <QtTest>

#include <functional>

using namespace vorn;
using vorn::test::ScriptedDialogs;

namespace {

// The title-bar text colour of the tests' palette: unlike white, it tells a system colour
// resolved through the palette from every colour the tests build.
const QColor kTitleText(0x12, 0x34, 0x56);
constexpr quint32 kOriginalBack = kButtonFace;
const QStringList kCaptions{"Label2", "Label3", "Label4", "Label5"};

quint32 colourOf(QObject* form, const QString& name) {
    return form->findChild<QObject*>(name)->property("BackColor").toUInt();
}

QString textOf(QObject* form, const QString& name) {
    return form->findChild<QObject*>(name)->property("Text").toString();
}

TextBox* box(QObject* form, const QString& name) {
    return form->findChild<TextBox*>(name);
}

// Types a value into a component box and leaves it.
void enter(QObject* form, const QString& name, const QString& text) {
    box(form, name)->setText(text);
    Q_EMIT box(form, name)->LostFocus();
}

// Closes every real message box with OK once it is the active window, counting them.
class BoxCloser : public QObject {
public:
    BoxCloser() { qApp->installEventFilter(this); }
    ~BoxCloser() override { qApp->removeEventFilter(this); }
    int shown = 0;
    bool allActive = true;

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        auto* box = qobject_cast<QMessageBox*>(object);
        if (box && event->type() == QEvent::Show) {
            ++shown;
            closeWhenActive(box, 100);
        }
        return false;
    }

private:
    void closeWhenActive(QPointer<QMessageBox> box, int tries) {
        QTimer::singleShot(10, this, [this, box, tries] {
            if (!box)
                return;
            if (QApplication::activeWindow() != box && tries > 0)
                return closeWhenActive(box, tries - 1);
            allActive = allActive && QApplication::activeWindow() == box;
            box->button(QMessageBox::Ok)->click();
        });
    }
};

// Records every top the icon takes, with the window's background at that step and the
// caption colour at the first, and once posts an action when the trace meets a test.
class IconTrace : public QObject {
public:
    explicit IconTrace(QWidget* icon)
        : m_icon(icon) {
        icon->installEventFilter(this);
    }
    QList<float> tops;
    QList<quint32> backs;
    quint32 firstCaption = 0;
    qsizetype actedAt = -1;
    std::function<bool(const QList<float>&)> when;
    std::function<void()> action;

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (object == m_icon && event->type() == QEvent::Move) {
            tops.append(m_icon->property("Top").toFloat());
            backs.append(m_icon->window()->property("BackColor").toUInt());
            if (tops.size() == 1)
                firstCaption =
                    m_icon->window()->findChild<QObject*>("Label3")->property("ForeColor").toUInt();
            if (action && when(tops)) {
                actedAt = tops.size() - 1;
                QTimer::singleShot(0, this, std::exchange(action, nullptr));
            }
        }
        return false;
    }

private:
    QWidget* m_icon;
};

} // namespace

class TestColor : public QObject {
    Q_OBJECT

    Color* open() {
        Color* form = Forms::instance().show<Color>();
        return QTest::qWaitForWindowActive(form) ? form : nullptr;
    }
    // A colour with distinct components in the boxes and the preview, white in Label6.
    Color* openWithColour() {
        Color* form = open();
        box(form, "Text2")->setText("10");
        box(form, "Text1")->setText("20");
        enter(form, "Text3", "30");
        return form;
    }

private Q_SLOTS:
    void initTestCase() {
        vorn::test::initRuntime(*qApp);
        QPalette palette = QApplication::palette();
        palette.setColor(QPalette::HighlightedText, kTitleText);
        QApplication::setPalette(palette);
    }
    void cleanup() { vorn::test::destroyForms(); }

    void opening() {
        Color* form = open();
        QVERIFY(form);
        QCOMPARE(form->objectName(), "Color");
        QCOMPARE(form->windowTitle(), "VaviziDaz");
        QCOMPARE(form->client()->size(), QSize(274, 213));
        QVERIFY(!(form->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(form->windowFlags() & Qt::WindowMinimizeButtonHint);
        for (const char* name : {"Text1", "Text2", "Text3"})
            QCOMPARE(textOf(form, name), "255");
        QCOMPARE(colourOf(form, "Label1"), kWhite);
        QCOMPARE(textOf(form, "Text4"), "#FFFFFF");
        QVERIFY(box(form, "Text4")->isReadOnly());
        // Form_Load ran the green box's handler once: one push into the history.
        QCOMPARE(colourOf(form, "Label6"), kWhite);
        QCOMPARE(colourOf(form, "Label7"), kWhite);
        QCOMPARE(colourOf(form, "Label8"), kTitleBarText);
        QCOMPARE(form->findChild<Label*>("Label8")->palette().color(QPalette::Window), kTitleText);
        QCOMPARE(QApplication::focusWidget(), box(form, "Text1"));
    }

    void layout_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRectF>("twips");
        QTest::newRow("red") << "Text2" << QRectF(360, 360, 495, 345);
        QTest::newRow("green") << "Text1" << QRectF(1080, 360, 495, 345);
        QTest::newRow("blue") << "Text3" << QRectF(1800, 360, 495, 345);
        QTest::newRow("Rouge") << "Label3" << QRectF(360, 120, 735, 255);
        QTest::newRow("Vert") << "Label4" << QRectF(1168, 120, 495, 255);
        QTest::newRow("Bleu") << "Label5" << QRectF(1920, 120, 375, 255);
        QTest::newRow("preview") << "Label1" << QRectF(360, 960, 1935, 1335);
        QTest::newRow("Valeur") << "Label2" << QRectF(575, 2475, 1695, 255);
        QTest::newRow("notation") << "Text4" << QRectF(600, 2760, 1455, 375);
        QTest::newRow("newest") << "Label6" << QRectF(3240, 240, 735, 615);
        QTest::newRow("middle") << "Label7" << QRectF(3240, 1320, 735, 615);
        QTest::newRow("oldest") << "Label8" << QRectF(3240, 2400, 735, 615);
        QTest::newRow("icon") << "Image1" << QRectF(2520, 120, 585, 480);
    }
    void layout() {
        QFETCH(QString, name);
        QFETCH(QRectF, twips);
        Color* form = open();
        QObject* control = form->findChild<QObject*>(name);
        QVERIFY(control);
        const QRectF got(control->property("Left").toFloat(), control->property("Top").toFloat(),
                         control->property("Width").toFloat(),
                         control->property("Height").toFloat());
        QCOMPARE(got, twips);
    }

    // Each box left with a text; the boxes held red 10, green 20, blue 30 before.
    void componentBox_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<quint32>("preview");
        QTest::addColumn<QString>("notation");
        QTest::addColumn<bool>("pushed");
        const quint32 before = rgb(10, 20, 30);
        const auto row = [](const char* name, const char* box, const char* text, quint32 preview,
                            const char* notation, bool pushed) {
            QTest::newRow(name) << QString::fromLatin1(box) << QString::fromLatin1(text) << preview
                                << QString::fromLatin1(notation) << pushed;
        };
        row("red 0", "Text2", "0", rgb(0, 20, 30), "#00141E", true);
        row("red 255", "Text2", "255", rgb(255, 20, 30), "#FF141E", true);
        row("red 1,5 to even", "Text2", "1,5", rgb(2, 20, 30), "#02141E", true);
        row("red 300 pushes only", "Text2", "300", before, "#0A141E", true);
        row("red -1 pushes only", "Text2", "-1", before, "#0A141E", true);
        row("red empty", "Text2", "", before, "#0A141E", false);
        row("green 128", "Text1", "128", rgb(10, 128, 30), "#0A801E", true);
        row("green unchanged", "Text1", "20", before, "#0A141E", true);
        row("green 0,5 to even", "Text1", "0,5", rgb(10, 0, 30), "#0A001E", true);
        row("green 254,5 to even", "Text1", "254,5", rgb(10, 254, 30), "#0AFE1E", true);
        row("green 300", "Text1", "300", before, "#0A141E", false);
        row("green 255,5", "Text1", "255,5", before, "#0A141E", false);
        row("green empty", "Text1", "", before, "#0A141E", false);
        row("blue 12,7", "Text3", "12,7", rgb(10, 20, 13), "#0A140D", true);
        row("blue 12,5 to even", "Text3", "12,5", rgb(10, 20, 12), "#0A140C", true);
        row("blue 13,5 to even", "Text3", "13,5", rgb(10, 20, 14), "#0A140E", true);
        row("blue 0", "Text3", "0", rgb(10, 20, 0), "#0A1400", true);
        row("blue -0,4", "Text3", "-0,4", before, "#0A141E", false);
        row("blue 300", "Text3", "300", before, "#0A141E", false);
    }
    void componentBox() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(quint32, preview);
        QFETCH(QString, notation);
        QFETCH(bool, pushed);
        Color* form = openWithColour();
        QCOMPARE(colourOf(form, "Label6"), kWhite);
        enter(form, name, text);
        QCOMPARE(colourOf(form, "Label1"), preview);
        QCOMPARE(textOf(form, "Text4"), notation);
        QCOMPARE(colourOf(form, "Label6"), pushed ? rgb(10, 20, 30) : kWhite);
    }

    // Errors are reported through the guard; what the handler changed first stays. The boxes
    // hold red, green and blue before the box named is left; conversion runs blue first.
    void conversionErrors_data() {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("left");
        QTest::addColumn<int>("error");
        QTest::addColumn<bool>("pushed");
        QTest::addColumn<quint32>("preview");
        const quint32 before = rgb(10, 20, 30);
        const auto row = [](const char* name, QStringList texts, const char* left, int error,
                            bool pushed, quint32 preview) {
            QTest::newRow(name) << texts << QString::fromLatin1(left) << error << pushed << preview;
        };
        row("green not a number", {"10", "abc", "30"}, "Text1", 13, false, before);
        row("red not a number", {"abc", "20", "30"}, "Text2", 13, true, before);
        row("spaces are no number", {"10", "20", "  "}, "Text3", 13, false, before);
        row("red box holds letters", {"x", "20", "5"}, "Text3", 13, true, before);
        row("blue beyond 16 bits", {"10", "5", "40000"}, "Text1", 6, true, before);
        row("blue is converted first", {"x", "5", "40000"}, "Text1", 6, true, before);
        row("green before red", {"x", "y", "5"}, "Text3", 13, true, before);
        row("red above 255 counts as 255", {"300", "5", "30"}, "Text1", 0, true, rgb(255, 5, 30));
        row("blue negative counts as 0", {"5", "20", "-7"}, "Text2", 0, true, rgb(5, 20, 0));
    }
    void conversionErrors() {
        QFETCH(QStringList, texts);
        QFETCH(QString, left);
        QFETCH(int, error);
        QFETCH(bool, pushed);
        QFETCH(quint32, preview);
        ScriptedDialogs dialogs;
        Color* form = openWithColour();
        const QStringList boxes{"Text2", "Text1", "Text3"};
        for (int i = 0; i < boxes.size(); ++i) {
            if (boxes[i] != left)
                box(form, boxes[i])->setText(texts[i]);
        }
        enter(form, left, texts[boxes.indexOf(left)]);
        QCOMPARE(dialogs.errors().size(), error ? 1 : 0);
        if (error) {
            QCOMPARE(dialogs.errors().first().style, error);
            QCOMPARE(dialogs.errors().first().parent, "Color");
        }
        QCOMPARE(colourOf(form, "Label1"), preview);
        QCOMPARE(colourOf(form, "Label6"), pushed ? rgb(10, 20, 30) : kWhite);
        // The program goes on: valid values rebuild the colour.
        box(form, "Text2")->setText("1");
        box(form, "Text3")->setText("3");
        enter(form, "Text1", "2");
        QCOMPARE(textOf(form, "Text4"), "#010203");
    }

    // History C4 (preview), C3, C2, C1 (oldest); a recall brings one back and pushes C4.
    void swatchRecall_data() {
        QTest::addColumn<QString>("swatch");
        QTest::addColumn<quint32>("recalled");
        QTest::addColumn<QString>("notation");
        QTest::newRow("newest") << "Label6" << rgb(200, 255, 255) << "#C8FFFF";
        QTest::newRow("middle") << "Label7" << rgb(100, 255, 255) << "#64FFFF";
        QTest::newRow("oldest leaves the history") << "Label8" << rgb(0, 255, 255) << "#00FFFF";
    }
    void swatchRecall() {
        QFETCH(QString, swatch);
        QFETCH(quint32, recalled);
        QFETCH(QString, notation);
        Color* form = open();
        for (const char* red : {"0", "100", "200"})
            enter(form, "Text2", red);
        enter(form, "Text1", "0");
        const quint32 c4 = rgb(200, 0, 255);
        QCOMPARE(colourOf(form, "Label8"), rgb(0, 255, 255));
        QTest::mouseClick(form->findChild<Label*>(swatch), Qt::LeftButton);
        QCOMPARE(colourOf(form, "Label1"), recalled);
        QCOMPARE(textOf(form, "Text4"), notation);
        QCOMPARE(colourOf(form, "Label6"), c4);
        QCOMPARE(colourOf(form, "Label7"), rgb(200, 255, 255));
        QCOMPARE(colourOf(form, "Label8"), rgb(100, 255, 255));
        for (const char* name : {"Text1", "Text2", "Text3"})
            QCOMPARE(textOf(form, name), "255");
        // Leaving a box rebuilds the colour from the boxes, which read 255 again.
        enter(form, "Text3", "255");
        QCOMPARE(colourOf(form, "Label1"), kWhite);
        QCOMPARE(colourOf(form, "Label6"), recalled);
    }

    // The title-bar text colour recalled from each swatch, moved there by green box leaves.
    void systemColourRecall_data() {
        QTest::addColumn<QString>("swatch");
        QTest::addColumn<int>("leaves");
        QTest::newRow("oldest, as at opening") << "Label8" << -1;
        QTest::newRow("newest") << "Label6" << 1;
        QTest::newRow("middle") << "Label7" << 2;
    }
    void systemColourRecall() {
        QFETCH(QString, swatch);
        QFETCH(int, leaves);
        Color* form = open();
        if (leaves >= 0)
            QTest::mouseClick(form->findChild<Label*>("Label8"), Qt::LeftButton);
        for (int i = 0; i < leaves; ++i)
            enter(form, "Text1", "255");
        auto* label = form->findChild<Label*>(swatch);
        QCOMPARE(colourOf(form, swatch), kTitleBarText);
        QCOMPARE(label->palette().color(QPalette::Window), kTitleText);
        QTest::mouseClick(label, Qt::LeftButton);
        QCOMPARE(colourOf(form, "Label1"), kTitleBarText);
        QCOMPARE(form->findChild<Label*>("Label1")->palette().color(QPalette::Window), kTitleText);
        QCOMPARE(textOf(form, "Text4"), "#123456");
    }

    // Leaving the red box, which holds 0: the handler runs on a real focus move only.
    void focusRule_data() {
        QTest::addColumn<QString>("move");
        QTest::addColumn<bool>("runs");
        QTest::newRow("tab") << "tab" << true;
        QTest::newRow("back tab") << "backtab" << true;
        QTest::newRow("click in another box") << "click" << true;
        QTest::newRow("message box") << "box" << false;
        QTest::newRow("other window") << "window" << false;
        QTest::newRow("context menu") << "menu" << false;
    }
    void focusRule() {
        QFETCH(QString, move);
        QFETCH(bool, runs);
        Color* form = open();
        TextBox* red = box(form, "Text2");
        red->setFocus(Qt::TabFocusReason);
        QVERIFY(red->hasFocus());
        red->setText("0");
        QSignalSpy lost(red, &TextBox::LostFocus);
        if (move == "tab") {
            QTest::keyClick(red, Qt::Key_Tab);
        } else if (move == "backtab") {
            QTest::keyClick(red, Qt::Key_Backtab);
        } else if (move == "click") {
            QTest::mouseClick(box(form, "Text3"), Qt::LeftButton);
        } else if (move == "box") {
            BoxCloser closer;
            msgBox(form, QStringLiteral("Message"), {Buttons::Ok, MessageIcon::None},
                   QStringLiteral("Essai"));
            QCOMPARE(closer.shown, 1);
            QVERIFY(closer.allActive);
        } else if (move == "window") {
            QWidget other;
            other.show();
            other.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&other));
            other.close();
            form->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(form));
        } else if (move == "menu") {
            const QPoint centre = red->rect().center();
            QContextMenuEvent event(QContextMenuEvent::Keyboard, centre, red->mapToGlobal(centre));
            QApplication::sendEvent(red, &event);
            QTRY_VERIFY(QApplication::activePopupWidget());
            QApplication::activePopupWidget()->close();
            QTRY_VERIFY(!QApplication::activePopupWidget());
        }
        QCOMPARE(lost.count(), runs ? 1 : 0);
        QCOMPARE(colourOf(form, "Label1"), runs ? rgb(0, 255, 255) : kWhite);
        if (!runs) {
            // Coming back to the window finds the focus where it was, still without a handler.
            form->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(form));
            QCOMPARE(QApplication::focusWidget(), red);
            QCOMPARE(lost.count(), 0);
        }
    }

    // An error box raised while the focus moves from one box to the next does not run the
    // next box's handler, which would report the same error again.
    void errorBoxIsNoFocusMove() {
        Color* form = open();
        box(form, "Text1")->setText("abc");
        BoxCloser closer;
        QTest::keyClick(box(form, "Text1"), Qt::Key_Tab);
        QCOMPARE(closer.shown, 1);
        QVERIFY(closer.allActive);
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form));
        QCOMPARE(QApplication::focusWidget(), box(form, "Text2"));
        QCOMPARE(colourOf(form, "Label8"), kTitleBarText);
    }

    // Tabbing through the boxes without typing pushes the preview at each box left.
    void tabbingPushesEachBox() {
        Color* form = open();
        enter(form, "Text2", "0");
        box(form, "Text1")->setFocus(Qt::TabFocusReason);
        const QStringList order{"Text2", "Text3", "Text4"};
        for (const QString& next : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), next);
        }
        for (const char* swatch : {"Label6", "Label7", "Label8"})
            QCOMPARE(colourOf(form, swatch), rgb(0, 255, 255));
    }

    // The icon goes down to the bottom margin and back to 140. A second click runs a whole
    // animation before the first goes on from where the icon is.
    void animation_data() {
        QTest::addColumn<QString>("when");
        QTest::addColumn<float>("resumesAt");
        QTest::addColumn<float>("finalTop");
        QTest::newRow("one click") << "never" << 0.0f << 140.0f;
        QTest::newRow("again after the first step") << "first" << 160.0f << 140.0f;
        QTest::newRow("again on the way down") << "down" << 160.0f << 140.0f;
        QTest::newRow("again on the way up") << "up" << 120.0f << 120.0f;
    }
    void animation() {
        QFETCH(QString, when);
        QFETCH(float, resumesAt);
        QFETCH(float, finalTop);
        Color* form = open();
        auto* icon = form->findChild<Image*>("Image1");
        IconTrace trace(icon);
        trace.when = [when](const QList<float>& tops) {
            if (when == "first")
                return true;
            if (when == "down")
                return tops.last() >= 600.0f;
            return when == "up" && tops.size() > 1 && tops.last() < tops[tops.size() - 2];
        };
        trace.action = [icon] { QTest::mouseClick(icon, Qt::LeftButton); };
        QTest::mouseClick(icon, Qt::LeftButton);
        QVERIFY(trace.backs.count(kBlack) == trace.backs.size());
        QCOMPARE(trace.firstCaption, kWhite);
        const float bottom = form->Height() - 1000.0f;
        const float lowest = *std::max_element(trace.tops.cbegin(), trace.tops.cend());
        QVERIFY(lowest >= bottom && lowest < bottom + 20.0f);
        if (when != "never") {
            // The second animation came back to 140; the first then made its next step.
            QVERIFY(trace.actedAt >= 0);
            const qsizetype back = trace.tops.indexOf(140.0f, trace.actedAt + 1);
            QVERIFY(back > 0);
            QCOMPARE(trace.tops.value(back + 1), resumesAt);
        }
        QCOMPARE(icon->Top(), finalTop);
        QCOMPARE(form->BackColor(), kOriginalBack);
        for (const QString& caption : kCaptions)
            QCOMPARE(form->findChild<QObject*>(caption)->property("ForeColor").toUInt(), kBlack);
        // A later animation starts from there and ends at 140.
        QTest::mouseClick(icon, Qt::LeftButton);
        QCOMPARE(icon->Top(), 140.0f);
    }

    // Closing the window while the icon moves ends the animation: nothing moves or shows again.
    void closeDuringAnimation_data() {
        QTest::addColumn<bool>("nested");
        QTest::newRow("one animation") << false;
        QTest::newRow("during a second animation") << true;
    }
    void closeDuringAnimation() {
        QFETCH(bool, nested);
        ScriptedDialogs dialogs;
        QPointer<Color> form = open();
        auto* icon = form->findChild<Image*>("Image1");
        IconTrace trace(icon);
        bool clickedAgain = false;
        float topAtClose = -1;
        const auto closeNow = [&] {
            topAtClose = icon->Top();
            form->close();
        };
        trace.when = [](const QList<float>& tops) { return tops.last() >= 400.0f; };
        trace.action = [&] {
            if (nested) {
                clickedAgain = true;
                trace.when = [](const QList<float>& tops) { return tops.last() >= 800.0f; };
                trace.action = closeNow;
                QTest::mouseClick(icon, Qt::LeftButton);
            } else {
                closeNow();
            }
        };
        QTest::mouseClick(icon, Qt::LeftButton);
        QCOMPARE(clickedAgain, nested);
        QVERIFY(!Forms::instance().isLoaded<Color>());
        QVERIFY(form && !form->isVisible());
        QCOMPARE(icon->Top(), topAtClose);
        QVERIFY(dialogs.calls().isEmpty());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(form.isNull());
        Color* fresh = open();
        QCOMPARE(fresh->findChild<Image*>("Image1")->Top(), 120.0f);
        QCOMPARE(textOf(fresh, "Text4"), "#FFFFFF");
    }
};

QTEST_MAIN(TestColor)
#include "tst_color.moc"
