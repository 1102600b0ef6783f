#include "clock/hands.h"
#include "clock/horloge.h"
#include "platform/forms.h"
#include "support/testsupport.h"

#include <QApplication>
#include <QPointer>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <array>

using namespace vorn;

Q_DECLARE_METATYPE(QDateTime)

namespace {

QDateTime at(const char* text) {
    return QDateTime::fromString(QString::fromLatin1(text),
                                 QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
}

QObject* control(Form* form, const char* name) {
    return form->findChild<QObject*>(QString::fromLatin1(name));
}

QString captionOf(Form* form, const char* name) {
    return control(form, name)->property("Caption").toString();
}

// True when the hands of the window end where `expected` says, to the last bit.
bool handsAre(Form* form, const hands::Hands& expected) {
    const auto endsAt = [form](const char* line, hands::EndPoint end) {
        QObject* object = control(form, line);
        return object->property("X2").toFloat() == end.x &&
               object->property("Y2").toFloat() == end.y;
    };
    return endsAt("Line1", expected.minute) && endsAt("Line2", expected.hour);
}

// Shows the clock and waits until it is the active window, which starts its refresh.
Horloge* openClock() {
    Horloge* clock = Forms::instance().show<Horloge>();
    if (!QTest::qWaitForWindowActive(clock))
        qWarning("the clock window did not become active");
    return clock;
}

// Counts the paint events of the objects it watches.
class PaintCounter : public QObject {
public:
    QMap<const QObject*, int> paints;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints[watched];
        return false;
    }
};

// The timer that paces the clock's refresh, owned by the window.
QTimer* refreshTimer(Horloge* clock) {
    return clock->findChild<QTimer*>(QStringLiteral("refresh"));
}

// The clock's timers that are running.
int runningTimers(Horloge* clock) {
    int running = 0;
    for (QTimer* timer : clock->findChildren<QTimer*>())
        running += timer->isActive() ? 1 : 0;
    return running;
}

} // namespace

class TestHorloge : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { test::initRuntime(*qApp); }
    void init() { m_dialogs = std::make_unique<test::ScriptedDialogs>(); }
    void cleanup() {
        test::destroyForms();
        test::pinTime({});
        QVERIFY2(m_dialogs->errors().isEmpty(), "a run-time error was reported");
        m_dialogs.reset();
    }

    // The objects and properties that scripts and accessibility tools rely on.
    void contract_data() {
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("property");
        QTest::addColumn<QVariant>("expected");
        const auto row = [](const char* object, const char* property, QVariant expected) {
            QTest::addRow("%s.%s", object, property)
                << QString::fromLatin1(object) << QString::fromLatin1(property) << expected;
        };
        // Four twips properties of one object at once.
        const auto four = [&row](const char* object, std::array<const char*, 4> properties,
                                 std::array<float, 4> values) {
            for (std::size_t i = 0; i < 4; ++i)
                row(object, properties[i], values[i]);
        };
        const std::array<const char*, 4> box{"Left", "Top", "Width", "Height"};
        const std::array<const char*, 4> ends{"X1", "Y1", "X2", "Y2"};
        row("", "objectName", QStringLiteral("Horloge"));
        row("", "Caption", QStringLiteral("Horloge"));
        four("Shape1", box, {1320, 1080, 1455, 1695});
        four("Label3", box, {2760, 120, 1215, 465});
        four("Label1", box, {2655, 600, 1425, 420});
        four("Line5", ends, {2040, 1200, 2040, 1080});
        four("Line3", ends, {2760, 1920, 2880, 1920});
        four("Line6", ends, {2040, 2760, 2040, 2640});
        four("Line4", ends, {1200, 1920, 1320, 1920});
        for (const char* line : {"Line1", "Line2", "Line3", "Line4", "Line5", "Line6"})
            row(line, "BorderWidth", 3);
        for (const char* tick : {"Line3", "Line4", "Line5", "Line6"})
            row(tick, "BorderColor", quint32(kTitleBarText));
        for (const char* hand : {"Line1", "Line2"}) {
            row(hand, "X1", 2040.0f);
            row(hand, "Y1", 1920.0f);
        }
        row("Line1", "BorderColor", quint32(rgb(255, 0, 0)));
        row("Line2", "BorderColor", quint32(rgb(0, 255, 0)));
        row("Label3", "ForeColor", quint32(rgb(0, 255, 0)));
        row("Label3", "BackColor", quint32(rgb(128, 128, 255)));
        row("Label3", "FontSize", 15.75);
        row("Label1", "FontSize", 14.25);
        row("Label3", "FontName", QStringLiteral("Impact"));
        row("Label1", "FontName", QStringLiteral("Times New Roman"));
    }
    void contract() {
        QFETCH(QString, object);
        QFETCH(QString, property);
        QFETCH(QVariant, expected);
        Horloge* clock = Forms::instance().ref<Horloge>();
        QObject* target = object.isEmpty() ? clock : clock->findChild<QObject*>(object);
        QVERIFY2(target, qPrintable(object));
        QVariant value = target->property(property.toLatin1().constData());
        QVERIFY2(value.isValid(), qPrintable(property));
        QVERIFY(value.convert(expected.metaType()));
        QCOMPARE(value, expected);
    }

    void look() {
        test::pinTime(at("2088-08-28 18:48:48.000"));
        Horloge* clock = openClock();
        QCOMPARE(clock->client()->size(), QSize(279, 214)); // 4185 x 3210 twips
        auto* time = clock->findChild<QLabel*>(QStringLiteral("Label3"));
        auto* date = clock->findChild<QLabel*>(QStringLiteral("Label1"));
        QVERIFY(time && date);
        QVERIFY(time->autoFillBackground());  // opaque light blue
        QVERIFY(!date->autoFillBackground()); // the landscape shows through
        // Both texts fit their labels whole: no clipped year or seconds.
        for (QLabel* label : {time, date}) {
            const QFontMetrics metrics(label->font());
            QVERIFY2(metrics.horizontalAdvance(label->text()) <= label->contentsRect().width(),
                     qPrintable(label->objectName()));
            QVERIFY(metrics.height() <= label->contentsRect().height());
        }
        // The landscape covers the client area from the top left.
        const QImage shot = clock->client()->grab().toImage();
        QVERIFY(shot.pixelColor(4, 4) != clock->palette().color(QPalette::Window));
        QVERIFY(shot.pixelColor(4, 4) != shot.pixelColor(4, 200));
    }

    // Opening fills the date, the time after one space, and both hands for the time read.
    void load_data() {
        QTest::addColumn<QDateTime>("time");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("clock");
        QTest::newRow("afternoon") << at("2024-03-05 14:05:09.000") << "05/03/2024"
                                   << " 14:05:09";
        QTest::newRow("midnight") << at("2000-01-01 00:00:00.000") << "01/01/2000"
                                  << " 00:00:00";
        QTest::newRow("year end") << at("1999-12-31 23:59:59.999") << "31/12/1999"
                                  << " 23:59:59";
        QTest::newRow("leap day") << at("2024-02-29 09:30:00.500") << "29/02/2024"
                                  << " 09:30:00";
    }
    void load() {
        QFETCH(QDateTime, time);
        QFETCH(QString, date);
        QFETCH(QString, clock);
        test::pinTime(time);
        Horloge* window = Forms::instance().ref<Horloge>();
        QCOMPARE(captionOf(window, "Label1"), date);
        QCOMPARE(captionOf(window, "Label3"), clock);
        QVERIFY(handsAre(window, hands::handsAt(static_cast<std::int16_t>(time.time().hour()),
                                                static_cast<std::int16_t>(time.time().minute()))));
        // Loading alone starts nothing: the refresh waits for the window to show.
        QCOMPARE(runningTimers(window), 0);
    }

    // The refresh runs a few milliseconds after each whole second, never in a tight loop.
    void alignment_data() {
        QTest::addColumn<int>("millisecond");
        for (int ms : {0, 500, 995, 999})
            QTest::addRow("%03d ms into the second", ms) << ms;
    }
    void alignment() {
        QFETCH(int, millisecond);
        test::pinTime(QDateTime(QDate(2024, 5, 1), QTime(10, 20, 30, millisecond)));
        Horloge* clock = openClock();
        QTimer* timer = refreshTimer(clock);
        QVERIFY(timer->isActive());
        QCOMPARE(timer->timerType(), Qt::PreciseTimer);
        const int toNextSecond = 1000 - millisecond;
        QVERIFY2(timer->interval() >= toNextSecond && timer->interval() < toNextSecond + 50,
                 qPrintable(QString::number(timer->interval())));
    }

    // A window manager may show the clock without making it active: it runs once shown.
    void runsOnceShown() {
        test::pinTime(at("2024-05-01 10:20:30.000"));
        Horloge* clock = Forms::instance().show<Horloge>();
        QVERIFY(!clock->isActiveWindow());
        QVERIFY(refreshTimer(clock)->isActive());
    }

    // Activating the clock again, however often, never starts a second refresh.
    void singleRefresh() {
        test::pinTime(at("2024-05-01 10:20:30.000"));
        Horloge* clock = Forms::instance().ref<Horloge>();
        QSignalSpy passes(clock, &Horloge::Refreshed);
        openClock();
        QCOMPARE(passes.count(), 1);

        QWidget other;
        other.setObjectName(QStringLiteral("other"));
        other.resize(100, 100);
        other.show();
        QElapsedTimer elapsed;
        elapsed.start();
        for (int i = 0; i < 5; ++i) {
            other.activateWindow();
            QTRY_VERIFY(other.isActiveWindow());
            clock->activateWindow();
            QTRY_VERIFY(clock->isActiveWindow());
        }
        // One pass per elapsed second at most (plus one for a boundary crossed).
        QVERIFY2(passes.count() <= 2 + elapsed.elapsed() / 1000,
                 qPrintable(QString::number(passes.count())));
        QCOMPARE(runningTimers(clock), 1);
    }

    // On the real clock, over a couple of seconds: one pass per second, showing the time.
    void realClock() {
        Horloge* clock = Forms::instance().ref<Horloge>();
        QSignalSpy passes(clock, &Horloge::Refreshed);
        QElapsedTimer elapsed;
        elapsed.start();
        openClock();
        QTest::qWait(2300);
        const qint64 seconds = elapsed.elapsed() / 1000;
        QVERIFY2(passes.count() >= 2 && passes.count() <= 2 + seconds,
                 qPrintable(QString::number(passes.count())));
        const QTime shown =
            QTime::fromString(captionOf(clock, "Label3").mid(1), QStringLiteral("HH:mm:ss"));
        QVERIFY(shown.isValid());
        // A second apart, midnight between them or not.
        const int apart = std::abs(shown.secsTo(QTime::currentTime()));
        QVERIFY2(std::min(apart, 86400 - apart) <= 1, qPrintable(shown.toString()));
    }

    // The hands and the time follow the clock; the date stays as it was at opening, and a
    // fresh window reads it anew.
    void followsTime() {
        test::pinTime(at("2024-03-05 23:59:59.000"));
        QPointer<Horloge> clock = openClock();
        QSignalSpy passes(clock.data(), &Horloge::Refreshed);
        test::pinTime(at("2024-03-06 00:15:00.000"));
        QVERIFY(passes.wait(3000));
        QCOMPARE(captionOf(clock, "Label3"), QStringLiteral(" 00:15:00"));
        QCOMPARE(captionOf(clock, "Label1"), QStringLiteral("05/03/2024"));
        QVERIFY(handsAre(clock, hands::handsAt(0, 15)));

        Forms::instance().unload(clock);
        QTRY_VERIFY(clock.isNull());
        Horloge* fresh = openClock();
        QCOMPARE(captionOf(fresh, "Label1"), QStringLiteral("06/03/2024"));
    }

    // A pass within the same minute draws the time again, not the hands, which stand still.
    void stillHandsAreNotRedrawn() {
        test::pinTime(at("2024-05-01 10:20:30.000"));
        Horloge* clock = openClock();
        QVERIFY(QTest::qWaitForWindowExposed(clock));
        QSignalSpy passes(clock, &Horloge::Refreshed);
        QVERIFY(passes.wait(3000)); // the first frame and its repaints are drawn by now
        PaintCounter counter;
        for (const char* name : {"Label3", "Line1", "Line2"})
            control(clock, name)->installEventFilter(&counter);
        test::pinTime(at("2024-05-01 10:20:31.000"));
        QVERIFY(passes.wait(3000));
        QTRY_VERIFY(counter.paints.value(control(clock, "Label3")) > 0);
        QCOMPARE(counter.paints.value(control(clock, "Line1")), 0);
        QCOMPARE(counter.paints.value(control(clock, "Line2")), 0);
    }

    // However the window is closed, nothing of it keeps running or comes back.
    void closing_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("double-click") << 0;
        QTest::newRow("close box") << 1;
        QTest::newRow("unload") << 2;
        QTest::newRow("unload while hidden") << 3;
    }
    void closing() {
        QFETCH(int, how);
        test::pinTime(at("2024-05-01 10:20:30.990"));
        QPointer<Horloge> clock = openClock();
        QPointer<QTimer> timer = refreshTimer(clock);
        QVERIFY(timer->isActive());
        QSignalSpy loaded(&Forms::instance(), &Forms::formLoaded);
        QSignalSpy last(&Forms::instance(), &Forms::lastFormUnloaded);

        switch (how) {
        case 0: // on the dial, where the lines let the click through to the window
            QTest::mouseDClick(clock->client(), Qt::LeftButton, {}, QPoint(140, 160));
            break;
        case 1:
            clock->close();
            break;
        case 2:
            Forms::instance().unload(clock);
            break;
        case 3:
            Forms::instance().hideForm(clock);
            Forms::instance().unload(clock);
            break;
        }
        QVERIFY(!Forms::instance().isLoaded<Horloge>());
        QVERIFY(!timer || !timer->isActive());
        QTRY_VERIFY(clock.isNull());
        QVERIFY(timer.isNull());
        QCOMPARE(last.count(), 1);

        // Longer than a refresh period: the window must not be recreated by a late pass.
        QTest::qWait(1200);
        QCOMPARE(loaded.count(), 0);
        QCOMPARE(Forms::instance().loadedCount(), 0);
    }

    // The primary button's double-click on the window closes it; two quick clicks of another
    // button, as a user looking for a context menu makes, leave it open.
    void doubleClickButtons_data() {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<bool>("closes");
        QTest::newRow("left") << Qt::LeftButton << true;
        QTest::newRow("right") << Qt::RightButton << false;
        QTest::newRow("middle") << Qt::MiddleButton << false;
    }
    void doubleClickButtons() {
        QFETCH(Qt::MouseButton, button);
        QFETCH(bool, closes);
        Horloge* clock = openClock();
        // On the dial, where the lines let the click through to the window.
        const QPoint dial = clock->client()->mapTo(clock, QPoint(140, 160));
        QTest::mouseDClick(clock->windowHandle(), button, {}, dial);
        QCOMPARE(Forms::instance().isLoaded<Horloge>(), !closes);
    }

private:
    std::unique_ptr<test::ScriptedDialogs> m_dialogs;
};

QTEST_MAIN(TestHorloge)
#include "tst_horloge.moc"
