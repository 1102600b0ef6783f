#include "platform/conversions.h"
#include "platform/runtimeerror.h"

#include "support/testsupport.h"

#include <QtTest>

#include <cmath>
#include <limits>

using namespace vorn;

class TestConversions : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { setRegionalLocale(QLocale(QLocale::French, QLocale::France)); }

    void toDouble_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("error");
        QTest::newRow("integer") << "100" << 100.0 << 0;
        QTest::newRow("decimal comma") << "12,5" << 12.5 << 0;
        QTest::newRow("negative") << "-1225" << -1225.0 << 0;
        QTest::newRow("surrounding spaces") << " 7 " << 7.0 << 0;
        QTest::newRow("exponent") << "1,5E3" << 1500.0 << 0;
        QTest::newRow("point is not decimal") << "12.5" << 0.0 << 13;
        QTest::newRow("empty") << "" << 0.0 << 13;
        QTest::newRow("spaces only") << "   " << 0.0 << 13;
        QTest::newRow("lone comma") << "," << 0.0 << 13;
        QTest::newRow("two commas") << "1,2,3" << 0.0 << 13;
        QTest::newRow("letters") << "abc" << 0.0 << 13;
        QTest::newRow("grouping") << "1 000" << 0.0 << 13;
        QTest::newRow("infinity word") << "inf" << 0.0 << 13;
        QTest::newRow("nan word") << "nan" << 0.0 << 13;
        QTest::newRow("beyond double") << "1E400" << 0.0 << 6;
        QTest::newRow("below the smallest double") << "1E-400" << 0.0 << 0;
        QTest::newRow("negative tiny") << "-2,5E-999" << 0.0 << 0;
        QTest::newRow("point before a tiny exponent") << "1.5E-400" << 0.0 << 13;
        QTest::newRow("leading point, tiny") << ".5E-999" << 0.0 << 13;
    }
    void toDouble() {
        QFETCH(QString, text);
        QFETCH(double, value);
        QFETCH(int, error);
        double got = 0;
        QCOMPARE(test::errorOf([&] { got = vorn::toDouble(text); }), error);
        if (error == 0)
            QCOMPARE(got, value);
    }

    void toInteger_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("error");
        QTest::newRow("plain") << "42" << 42 << 0;
        QTest::newRow("half down to even") << "12,5" << 12 << 0;
        QTest::newRow("half up to even") << "13,5" << 14 << 0;
        QTest::newRow("negative half") << "-2,5" << -2 << 0;
        QTest::newRow("above half") << "12,7" << 13 << 0;
        QTest::newRow("max") << "32767" << 32767 << 0;
        QTest::newRow("min") << "-32768" << -32768 << 0;
        QTest::newRow("max plus half rounds to even inside") << "32766,5" << 32766 << 0;
        QTest::newRow("rounds past max") << "32767,5" << 0 << 6;
        QTest::newRow("over max") << "32768" << 0 << 6;
        QTest::newRow("under min") << "-32769" << 0 << 6;
        QTest::newRow("min minus half rounds to even inside") << "-32768,5" << -32768 << 0;
        QTest::newRow("not a number") << "douze" << 0 << 13;
        QTest::newRow("spaces only") << " " << 0 << 13;
    }
    void toInteger() {
        QFETCH(QString, text);
        QFETCH(int, value);
        QFETCH(int, error);
        int got = 0;
        QCOMPARE(test::errorOf([&] { got = vorn::toInteger(text); }), error);
        if (error == 0)
            QCOMPARE(got, value);
    }

    void roundHalfEven_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<double>("rounded");
        QTest::newRow("15.2449") << 100.0 / 6.55957 << 3 << 15.245;
        QTest::newRow("6.55957") << 6.55957 << 3 << 6.56;
        QTest::newRow("half to even down") << 0.0025 << 3 << 0.002;
        QTest::newRow("half to even up") << 0.0035 << 3 << 0.004;
        QTest::newRow("decimal half though binary below") << 1.0005 << 3 << 1.0;
        QTest::newRow("negative half") << -0.0025 << 3 << -0.002;
        QTest::newRow("carry") << 9.9995 << 3 << 10.0;
        QTest::newRow("tiny to zero") << 0.0000001 << 3 << 0.0;
        QTest::newRow("huge unchanged") << 1e300 << 3 << 1e300;
        QTest::newRow("whole half even") << 2.5 << 0 << 2.0;
        QTest::newRow("whole half odd") << 3.5 << 0 << 4.0;
    }
    void roundHalfEven() {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(double, rounded);
        QCOMPARE(vorn::roundHalfEven(value, decimals), rounded);
    }

    void toText_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("integer") << 100.0 << "100";
        QTest::newRow("comma") << 15.245 << "15,245";
        QTest::newRow("no trailing zero") << 6.56 << "6,56";
        QTest::newRow("negative") << -0.152 << "-0,152";
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("negative zero") << -0.0 << "0";
        QTest::newRow("no grouping") << 1234567.0 << "1234567";
        QTest::newRow("15 digits") << 0.1 + 0.2 << "0,3";
        QTest::newRow("large") << 1e20 << "1E+20";
        QTest::newRow("largest double stays readable")
            << std::numeric_limits<double>::max() << "1,79769313486231E+308";
        QTest::newRow("largest negative double stays readable")
            << -std::numeric_limits<double>::max() << "-1,79769313486231E+308";
    }
    void toText() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(vorn::toText(value), text);
    }

    void textRoundTrip_data() {
        QTest::addColumn<double>("value");
        QTest::newRow("third") << 1.0 / 3.0;
        QTest::newRow("rate") << 6.55957;
        QTest::newRow("small") << 1.5e-10;
        QTest::newRow("big") << 123456789012345.0;
        QTest::newRow("largest double") << std::numeric_limits<double>::max();
        QTest::newRow("just under the largest") << 1.797693134862315e308;
        QTest::newRow("largest negative double") << -std::numeric_limits<double>::max();
        QTest::newRow("smallest normal") << std::numeric_limits<double>::min();
        QTest::newRow("smallest subnormal") << std::numeric_limits<double>::denorm_min();
    }
    // A number written as text reads back to itself within the 15 digits written.
    void textRoundTrip() {
        QFETCH(double, value);
        const double back = vorn::toDouble(vorn::toText(value));
        QVERIFY(std::abs(back - value) <= std::abs(value) * 1e-14);
    }

    void dateAndTimeTexts() {
        const QDateTime t(QDate(2026, 3, 7), QTime(9, 5, 3));
        QCOMPARE(dateText(t.date()), QStringLiteral("07/03/2026"));
        QCOMPARE(timeText(t.time()), QStringLiteral("09:05:03"));
        QCOMPARE(generalDateText(t), QStringLiteral("07/03/2026 09:05:03"));
    }

    // A file's time stamp as a date, in UTC here, or the error a date out of reach raises.
    void fileTimes_data() {
        QTest::addColumn<qint64>("seconds");
        QTest::addColumn<qint64>("nanoseconds");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("error");
        const qint64 largest = std::numeric_limits<qint64>::max();
        const qint64 smallest = std::numeric_limits<qint64>::min();
        QTest::newRow("before 1970, with a fraction")
            << qint64(-1) << qint64(500000000) << "31/12/1969 23:59:59" << 0;
        QTest::newRow("past 32-bit seconds")
            << qint64(2147483648) << qint64(0) << "19/01/2038 03:14:08" << 0;
        QTest::newRow("year one") << qint64(-62135596800) << qint64(0) << "01/01/0001 00:00:00"
                                  << 0;
        QTest::newRow("year 10000")
            << qint64(253402300800) << qint64(0) << "01/01/10000 00:00:00" << 0;
        QTest::newRow("largest stamp") << largest << qint64(999999999) << "" << 6;
        QTest::newRow("smallest stamp") << smallest << qint64(0) << "" << 6;
    }
    void fileTimes() {
        QFETCH(qint64, seconds);
        QFETCH(qint64, nanoseconds);
        QFETCH(QString, text);
        QFETCH(int, error);
        QString shown;
        QCOMPARE(test::errorOf([&] {
                     shown = generalDateText(fileTime(seconds, long(nanoseconds)).toUTC());
                 }),
                 error);
        QCOMPARE(shown, text);
    }

    void hex() {
        QCOMPARE(hexText(0), QStringLiteral("0"));
        QCOMPARE(hexText(0xFF80), QStringLiteral("FF80"));
        QCOMPARE(hexByte(13), QStringLiteral("0D"));
        QCOMPARE(hexByte(255), QStringLiteral("FF"));
    }
};

QTEST_APPLESS_MAIN(TestConversions)
#include "tst_conversions.moc"
