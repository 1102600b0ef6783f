#include "colour/colourmath.h"
#include "support/testsupport.h"

#include <QtTest>

using namespace vorn;

class TestColourMath : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { vorn::test::failOnQtWarnings(); }
    void webHexDigits_data() {
        QTest::addColumn<quint32>("value");
        QTest::addColumn<QString>("digits");
        QTest::newRow("black") << quint32(rgb(0, 0, 0)) << "000000";
        QTest::newRow("white") << quint32(rgb(255, 255, 255)) << "FFFFFF";
        QTest::newRow("orange, red first") << quint32(rgb(255, 128, 0)) << "FF8000";
        QTest::newRow("blue last") << quint32(rgb(0, 0, 255)) << "0000FF";
        QTest::newRow("leading zeros kept") << quint32(rgb(1, 2, 3)) << "010203";
        QTest::newRow("upper case") << quint32(rgb(0xab, 0xcd, 0xef)) << "ABCDEF";
        QTest::newRow("just below 16") << quint32(rgb(15, 16, 13)) << "0F100D";
    }
    void webHexDigits() {
        QFETCH(quint32, value);
        QFETCH(QString, digits);
        QCOMPARE(vorn::webHexDigits(value), digits);
    }

    void componentColour_data() {
        QTest::addColumn<int>("red");
        QTest::addColumn<int>("green");
        QTest::addColumn<int>("blue");
        QTest::addColumn<quint32>("value");
        QTest::newRow("red is the low byte") << 255 << 0 << 0 << quint32(0x0000FF);
        QTest::newRow("green is the middle byte") << 0 << 255 << 0 << quint32(0x00FF00);
        QTest::newRow("blue is the high byte") << 0 << 0 << 255 << quint32(0xFF0000);
        QTest::newRow("orange") << 255 << 128 << 0 << quint32(0x0080FF);
        QTest::newRow("green above range stays green") << 0 << 256 << 0 << quint32(0x00FF00);
        QTest::newRow("red above range") << 300 << 10 << 20 << quint32(0x140AFF);
        QTest::newRow("negative counts as zero") << -5 << 10 << 20 << quint32(0x140A00);
        QTest::newRow("extremes of 16 bits") << 32767 << -32768 << 32767 << quint32(0xFF00FF);
    }
    void componentColour() {
        QFETCH(int, red);
        QFETCH(int, green);
        QFETCH(int, blue);
        QFETCH(quint32, value);
        QCOMPARE(vorn::componentColour(red, green, blue), value);
    }
};

QTEST_APPLESS_MAIN(TestColourMath)
#include "tst_colourmath.moc"
