#include "platform/controls.h"
#include "platform/form.h"
#include "platform/forms.h"
#include "support/testsupport.h"

#include <QApplication>
#include <QMessageBox>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QtTest>

#include <limits>

using namespace vorn;

namespace {

// A dark desktop scheme: light text on dark grounds, its 3-D highlight a dark grey.
QPalette darkScheme() {
    return QPalette(QColor(252, 252, 252), QColor(49, 54, 59), QColor(64, 70, 76),
                    QColor(20, 22, 24), QColor(40, 44, 48), QColor(252, 252, 252),
                    QColor(252, 252, 252), QColor(27, 30, 32), QColor(42, 46, 50));
}

// How far any pixel of `shown` stands out from the same pixel of `before`, in grey levels.
int strongestGreyDifference(const QImage& shown, const QImage& before) {
    int strongest = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            strongest =
                std::max(strongest, std::abs(qGray(shown.pixel(x, y)) - qGray(before.pixel(x, y))));
    return strongest;
}

class Host : public Form {
    Q_OBJECT

public:
    Host()
        : Form(QStringLiteral("Host"), QStringLiteral("Hôte"), QSizeF(6000, 3000)) {
        label = new Label(client(), {"Label1", "Texte", {120, 120, 1500, 255}});
        box = new TextBox(client(), {"Text1", "255", {120, 600, 1500, 345}});
        other = new TextBox(client(), {"Text2", nullptr, {120, 1200, 1500, 345}});
        button = new CommandButton(client(), {"Command1", "OK", {2000, 600, 1000, 375}});
        option = new OptionButton(client(), {"Option1", "Un", {2000, 1200, 1500, 255}});
        image = new Image(client(), {"Image1", nullptr, {3500, 120, 480, 480}});
        line = new Line(client(), {"Line1", nullptr, {100, 100, 1600, 900}});
    }
    Label* label;
    TextBox* box;
    TextBox* other;
    CommandButton* button;
    OptionButton* option;
    Image* image;
    Line* line;
};

} // namespace

class TestControls : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { test::initRuntime(*qApp); }
    void cleanup() { test::destroyForms(); }

    void automationProperties_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("property");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("label caption") << "Label1"
                                       << "Caption" << QVariant(QStringLiteral("Texte"));
        QTest::newRow("label left") << "Label1"
                                    << "Left" << QVariant(120.0f);
        QTest::newRow("text text") << "Text1"
                                   << "Text" << QVariant(QStringLiteral("255"));
        QTest::newRow("text height") << "Text1"
                                     << "Height" << QVariant(345.0f);
        QTest::newRow("button caption") << "Command1"
                                        << "Caption" << QVariant(QStringLiteral("OK"));
        QTest::newRow("option value") << "Option1"
                                      << "Value" << QVariant(false);
        QTest::newRow("image width") << "Image1"
                                     << "Width" << QVariant(480.0f);
        QTest::newRow("line x2") << "Line1"
                                 << "X2" << QVariant(1600.0f);
        QTest::newRow("line y1") << "Line1"
                                 << "Y1" << QVariant(100.0f);
        QTest::newRow("form caption") << "Host"
                                      << "Caption" << QVariant(QStringLiteral("Hôte"));
    }
    void automationProperties() {
        QFETCH(QString, control);
        QFETCH(QString, property);
        QFETCH(QVariant, value);
        Host* host = Forms::instance().show<Host>();
        QObject* object = control == host->objectName() ? host : host->findChild<QObject*>(control);
        QVERIFY(object);
        QCOMPARE(object->metaObject()->indexOfProperty(qPrintable(property)) >= 0, true);
        QCOMPARE(object->property(qPrintable(property)), value);
    }

    void propertiesWriteThrough() {
        Host* host = Forms::instance().show<Host>();
        QVERIFY(host->button->setProperty("Left", 2750.0f));
        QCOMPARE(host->button->geometry().left(), 183);
        QVERIFY(host->label->setProperty("Caption", QStringLiteral("Autre")));
        QCOMPARE(host->label->text(), QStringLiteral("Autre"));
        QVERIFY(host->option->setProperty("Value", true));
        QVERIFY(host->option->isChecked());
    }

    void smallMovesNeverDrift() {
        Host* host = Forms::instance().show<Host>();
        for (int i = 0; i < 150; ++i)
            host->image->setTop(host->image->Top() + 20);
        QCOMPARE(host->image->Top(), 120.0f + 150 * 20);
        QCOMPARE(host->image->y(), (120 + 3000) / 15);
        for (int i = 0; i < 150; ++i)
            host->image->setTop(host->image->Top() - 20);
        QCOMPARE(host->image->Top(), 120.0f);
        QCOMPARE(host->image->y(), 8);
    }

    // Twips a window cannot show are kept as given, and give the nearest place or size it can:
    // never one wrapped round to the other side.
    void twipsOutOfRange_data() {
        QTest::addColumn<QString>("property");
        QTest::addColumn<float>("twips");
        QTest::addColumn<float>("kept");
        QTest::addColumn<QRect>("geometry");
        const float far = 1e12f;
        const int most = QWIDGETSIZE_MAX;
        QTest::newRow("negative size") << "Width" << -50.0f << 0.0f << QRect(233, 8, 0, 32);
        QTest::newRow("far right") << "Left" << far << far << QRect(most, 8, 32, 32);
        QTest::newRow("far left") << "Left" << -far << -far << QRect(-most, 8, 32, 32);
        QTest::newRow("far down") << "Top" << far << far << QRect(233, most, 32, 32);
        QTest::newRow("very wide") << "Width" << far << far << QRect(233, 8, most, 32);
        const float none = std::numeric_limits<float>::quiet_NaN();
        QTest::newRow("no number") << "Left" << none << none << QRect(0, 8, 32, 32);
    }
    void twipsOutOfRange() {
        QFETCH(QString, property);
        QFETCH(float, twips);
        QFETCH(float, kept);
        QFETCH(QRect, geometry);
        Host* host = Forms::instance().show<Host>();
        QVERIFY(host->image->setProperty(qPrintable(property), twips));
        QCOMPARE(host->image->property(qPrintable(property)).toFloat(), kept);
        QCOMPARE(host->image->geometry(), geometry);
    }

    void visibleIsTheControlsOwnFlag() {
        Host* host = Forms::instance().ref<Host>(); // loaded, never shown
        QVERIFY(host->label->property("Visible").toBool());
        host->label->setProperty("Visible", false);
        QVERIFY(!host->label->property("Visible").toBool());
    }

    void systemColoursKeepTheirValue() {
        Host* host = Forms::instance().show<Host>();
        host->label->setBackColor(kTitleBarText);
        QCOMPARE(host->label->property("BackColor").toUInt(), 0x80000009u);
        QCOMPARE(host->label->palette().color(QPalette::Window),
                 QApplication::palette().color(QPalette::HighlightedText));
        host->label->setForeColor(rgb(255, 255, 0));
        QCOMPARE(host->label->palette().color(QPalette::WindowText), QColor(255, 255, 0));
    }

    void lostFocusOnlyOnRealMoves() {
        test::ScriptedDialogs dialogs;
        Host* host = Forms::instance().show<Host>();
        QVERIFY(QTest::qWaitForWindowActive(host));
        QSignalSpy lost(host->box, &TextBox::LostFocus);
        host->box->setFocus(Qt::TabFocusReason);
        host->other->setFocus(Qt::TabFocusReason);
        QCOMPARE(lost.count(), 1); // unchanged text still counts

        host->box->setFocus(Qt::MouseFocusReason);
        // A real modal box taking the focus is no loss of focus.
        const auto press = test::pressOnNextBox(QMessageBox::Ok);
        QMessageBox::information(host, QStringLiteral("t"), QStringLiteral("m"));
        QCOMPARE(lost.count(), 1);
        QVERIFY(!isRealFocusMove(Qt::ActiveWindowFocusReason));
        QVERIFY(!isRealFocusMove(Qt::PopupFocusReason));
        QVERIFY(isRealFocusMove(Qt::MouseFocusReason));

        // A box deleted with the focus in it loses the focus as a plain widget, its line edit
        // part gone: its selection is left alone then (the sanitizers' build checks it).
        host->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(host));
        host->other->setFocus(Qt::TabFocusReason);
        host->box->setFocus(Qt::TabFocusReason);
        QVERIFY(host->box->hasSelectedText());
        delete std::exchange(host->box, nullptr);
    }

    // The focus mark a control draws itself is seen on any ground and leaves the control's own
    // colour inside it: a colour swatch keeps showing its colour.
    void focusMarkShowsOnAnyGround_data() {
        QTest::addColumn<QColor>("ground");
        QTest::newRow("white") << QColor(Qt::white);
        QTest::newRow("black") << QColor(Qt::black);
        QTest::newRow("dark blue") << QColor(0, 0, 128);
    }
    void focusMarkShowsOnAnyGround() {
        QFETCH(QColor, ground);
        Host* host = Forms::instance().show<Host>();
        QVERIFY(QTest::qWaitForWindowActive(host));
        host->label->setText({});
        host->label->setBackColor(rgb(ground.red(), ground.green(), ground.blue()));
        host->label->setFocusPolicy(Qt::TabFocus);
        const QImage unfocused = host->label->grab().toImage();
        for (int i = 0; i < 8 && !host->label->hasFocus(); ++i)
            QTest::keyClick(host->windowHandle(), Qt::Key_Tab);
        QVERIFY(host->label->hasFocus());
        const QImage focused = host->label->grab().toImage();
        QCOMPARE(focused.pixelColor(focused.rect().center()), ground);
        const int strongest = strongestGreyDifference(focused, unfocused);
        QVERIFY2(strongest >= 128, qPrintable(QString::number(strongest)));
    }

    // Text stays readable on its ground under a dark desktop scheme: on a ground the window
    // paints itself, system colours keep their classic values; on the desktop's own ground
    // they follow the scheme.
    void textShowsOnItsGround_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QColor>("ground");
        QTest::addColumn<bool>("picture"); // else the window's plain colour
        QTest::addColumn<quint32>("foreColor");
        const QColor paper(250, 240, 200);
        const QColor sky(150, 200, 240);
        const QColor night(25, 45, 110);
        QTest::newRow("label on a light picture") << "Label1" << sky << true << kButtonText;
        QTest::newRow("label on a light colour") << "Label1" << paper << false << kButtonText;
        QTest::newRow("3-D highlight on a dark picture")
            << "Label1" << night << true << kButtonHighlight;
        QTest::newRow("box on a light colour of its own")
            << "Text1" << paper << false << kWindowText;
        QTest::newRow("label on the scheme's ground")
            << "Label1" << darkScheme().color(QPalette::Window) << false << kButtonText;
        QTest::newRow("blue label on the scheme's ground")
            << "Label1" << darkScheme().color(QPalette::Window) << false << rgb(0, 0, 255);
        QTest::newRow("black label on the scheme's ground")
            << "Label1" << darkScheme().color(QPalette::Window) << false << rgb(0, 0, 0);
    }
    void textShowsOnItsGround() {
        QFETCH(QString, control);
        QFETCH(QColor, ground);
        QFETCH(bool, picture);
        QFETCH(quint32, foreColor);
        const QPalette desktop = QApplication::palette();
        QApplication::setPalette(darkScheme());
        auto restore = qScopeGuard([&] { QApplication::setPalette(desktop); });

        Host* host = Forms::instance().ref<Host>();
        host->line->setProperty("Visible", false); // only the text may stand out from the ground
        const ColourValue plain = rgb(ground.red(), ground.green(), ground.blue());
        if (control == "Text1") {
            host->box->setBackColor(plain);
            host->box->setReadOnly(true); // an answer box, without a cursor
        } else {
            host->label->setForeColor(foreColor);
            host->label->setTransparent(true);
            // The ground settles after the label: as the window first shows, it follows.
            if (picture)
                host->setBackgroundPicture(
                    [ground](QPainter& painter, const QRectF& target) {
                        painter.fillRect(target, ground);
                    },
                    Form::BackgroundMode::Stretch);
            else if (ground != darkScheme().color(QPalette::Window))
                host->setBackColor(plain);
        }
        Forms::instance().show<Host>();
        QVERIFY(QTest::qWaitForWindowExposed(host));
        const auto* widget = host->findChild<QWidget*>(control);
        const QImage shown =
            host->client()->grab(widget->geometry().adjusted(3, 3, -3, -3)).toImage();
        QImage bare(shown.size(), shown.format());
        bare.fill(ground);
        const int strongest = strongestGreyDifference(shown, bare);
        QVERIFY2(strongest >= 128, qPrintable(QString::number(strongest)));
    }

    void imageClickNeedsPressAndReleaseInside() {
        Host* host = Forms::instance().show<Host>();
        QVERIFY(QTest::qWaitForWindowExposed(host));
        QSignalSpy clicks(host->image, &Image::Click);
        QTest::mouseClick(host->image, Qt::LeftButton);
        QCOMPARE(clicks.count(), 1);
        QTest::mousePress(host->image, Qt::LeftButton);
        QTest::mouseRelease(host->image, Qt::LeftButton, {}, QPoint(-5, -5));
        QCOMPARE(clicks.count(), 1);
        QTest::mouseClick(host->image, Qt::RightButton);
        QCOMPARE(clicks.count(), 1);
    }
};

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
