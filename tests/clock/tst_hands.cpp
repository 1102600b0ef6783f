#include "clock/hands.h"
#include "support/testsupport.h"

#include <QtTest>

#include <cmath>

using namespace vorn;

// The end point worked out here from the clock's own rules, independently of the code:
// 3.14 for pi, double arithmetic, the result kept in single precision.
static QPointF expectedEnd(double angle, double length) {
    return {static_cast<float>(2040.0 - length * std::cos(angle)),
            static_cast<float>(1920.0 - length * std::sin(angle))};
}

static QPointF expectedMinute(int minute) {
    return expectedEnd(3.14 / 30 * minute + 3.14 / 2, 600);
}

static QPointF expectedHour(int hour, int minute) {
    return expectedEnd(3.14 / 6 * hour + 3.14 / 2 + (3.14 / 6) / 60 * minute, 380);
}

class TestHands : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { vorn::test::failOnQtWarnings(); }
    // The published positions, to one decimal.
    void knownTimes_data() {
        QTest::addColumn<int>("hour");
        QTest::addColumn<int>("minute");
        QTest::addColumn<QPointF>("minuteEnd");
        QTest::addColumn<QPointF>("hourEnd");
        QTest::newRow("00:00") << 0 << 0 << QPointF(2039.5, 1320.0) << QPointF(2039.7, 1540.0);
        QTest::newRow("12:00") << 12 << 0 << QPointF(2039.5, 1320.0) << QPointF(2038.5, 1540.0);
        QTest::newRow("03:00") << 3 << 0 << QPointF(2039.5, 1320.0) << QPointF(2420.0, 1919.4);
        QTest::newRow("15:15") << 15 << 15 << QPointF(2640.0, 1919.0) << QPointF(2417.0, 1967.8);
        QTest::newRow("09:30") << 9 << 30 << QPointF(2041.4, 2520.0) << QPointF(1672.6, 1822.9);
    }
    void knownTimes() {
        QFETCH(int, hour);
        QFETCH(int, minute);
        QFETCH(QPointF, minuteEnd);
        QFETCH(QPointF, hourEnd);
        const hands::Hands got =
            hands::handsAt(static_cast<std::int16_t>(hour), static_cast<std::int16_t>(minute));
        const auto near = [](float value, double expected) {
            return std::abs(value - expected) <= 0.05;
        };
        QVERIFY2(near(got.minute.x, minuteEnd.x()), qPrintable(QString::number(got.minute.x)));
        QVERIFY2(near(got.minute.y, minuteEnd.y()), qPrintable(QString::number(got.minute.y)));
        QVERIFY2(near(got.hour.x, hourEnd.x()), qPrintable(QString::number(got.hour.x)));
        QVERIFY2(near(got.hour.y, hourEnd.y()), qPrintable(QString::number(got.hour.y)));
    }

    // Every hour of the day against a spread of minutes, exactly as single-precision values.
    void dayTable_data() {
        QTest::addColumn<int>("hour");
        QTest::addColumn<int>("minute");
        for (int hour = 0; hour < 24; ++hour) {
            for (int minute : {0, 1, 7, 15, 29, 30, 44, 45, 59}) {
                QTest::addRow("%02d:%02d", hour, minute) << hour << minute;
            }
        }
    }
    void dayTable() {
        QFETCH(int, hour);
        QFETCH(int, minute);
        const hands::Hands got =
            hands::handsAt(static_cast<std::int16_t>(hour), static_cast<std::int16_t>(minute));
        const QPointF m = expectedMinute(minute);
        const QPointF h = expectedHour(hour, minute);
        QCOMPARE(got.minute.x, static_cast<float>(m.x()));
        QCOMPARE(got.minute.y, static_cast<float>(m.y()));
        QCOMPARE(got.hour.x, static_cast<float>(h.x()));
        QCOMPARE(got.hour.y, static_cast<float>(h.y()));
    }
};

QTEST_APPLESS_MAIN(TestHands)
#include "tst_hands.moc"
