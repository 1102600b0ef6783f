#include "euro/currency.h"
#include "platform/conversions.h"
#include "platform/runtimeerror.h"
#include "support/testsupport.h"

#include <QtTest>

using namespace vorn;
using euro::Currency;

Q_DECLARE_METATYPE(euro::Currency)

class TestCurrency : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        vorn::test::failOnQtWarnings();
        setRegionalLocale(QLocale(QLocale::French, QLocale::France));
    }

    void convertText_data() {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<Currency>("from");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("error");
        const Currency F = Currency::Francs;
        const Currency E = Currency::Euros;

        // Everyday amounts.
        QTest::newRow("100 francs") << "100" << F << "15,245" << 0;
        QTest::newRow("back to francs is not the start") << "15,245" << E << "100,001" << 0;
        QTest::newRow("one euro drops the trailing zero") << "1" << E << "6,56" << 0;
        QTest::newRow("one franc") << "1" << F << "0,152" << 0;
        QTest::newRow("the rate itself is one euro") << "6,55957" << F << "1" << 0;
        QTest::newRow("1000 francs") << "1000" << F << "152,449" << 0;
        QTest::newRow("a result converted again") << "15,245" << F << "2,324" << 0;
        QTest::newRow("decimal comma") << "12,5" << F << "1,906" << 0;
        QTest::newRow("exponent") << "1,5E3" << F << "228,674" << 0;
        QTest::newRow("surrounding spaces") << " 100 " << F << "15,245" << 0;
        QTest::newRow("negative") << "-100" << F << "-15,245" << 0;
        QTest::newRow("no grouping in a large result")
            << "123456789012" << E << "809823449499,445" << 0;

        // Tiny amounts round to nothing, never to a negative zero.
        QTest::newRow("thousandth of a franc") << "0,001" << F << "0" << 0;
        QTest::newRow("ten-thousandth of a euro") << "0,0001" << E << "0,001" << 0;
        QTest::newRow("tiny exponent") << "1E-300" << F << "0" << 0;
        QTest::newRow("tiny negative") << "-0,001" << F << "0" << 0;
        QTest::newRow("zero") << "0" << E << "0" << 0;

        // Huge amounts keep their digits and read back in the form they are written.
        QTest::newRow("huge francs") << "1E300" << F << "1,5244901723741E+299" << 0;
        QTest::newRow("huge euros") << "1E300" << E << "6,55957E+300" << 0;
        QTest::newRow("huge result read back")
            << "1,5244901723741E+299" << E << "9,99999999999998E+299" << 0;
        QTest::newRow("near the top, divided") << "1,7E308" << F << "2,59163329303598E+307" << 0;
        QTest::newRow("product beyond the range") << "1E308" << E << "" << 6;
        QTest::newRow("negative product beyond the range") << "-1E308" << E << "" << 6;
        QTest::newRow("amount beyond the range") << "1E400" << F << "" << 6;

        // Exact halves at the third decimal go to the even digit.
        QTest::newRow("half down to even") << "6,575968925" << F << "1,002" << 0;
        QTest::newRow("half up to even") << "6,582528495" << F << "1,004" << 0;
        QTest::newRow("half of a thousandth to zero") << "0,003279785" << F << "0" << 0;
        QTest::newRow("half on an integer") << "65,598979785" << F << "10" << 0;
        QTest::newRow("half up below one") << "0,810106895" << F << "0,124" << 0;
        QTest::newRow("just above a half") << "0,0625" << E << "0,41" << 0;
        QTest::newRow("just below a half") << "0,125" << E << "0,82" << 0;
        // Halves of the decimal amount where the double product or quotient falls just beside.
        QTest::newRow("half computed just below") << "150" << E << "983,936" << 0;
        QTest::newRow("negative half computed just below") << "-150" << E << "-983,936" << 0;
        QTest::newRow("half computed just above") << "0,016398925" << F << "0,002" << 0;

        // Text that is no number.
        QTest::newRow("lone comma") << "," << F << "" << 13;
        QTest::newRow("two commas") << "1,2,3" << E << "" << 13;
        QTest::newRow("letters") << "cent" << F << "" << 13;
        QTest::newRow("spaces") << "   " << F << "" << 13;
        QTest::newRow("point left unreplaced") << "12.5" << F << "" << 13;
        QTest::newRow("grouped digits") << "1 000" << F << "" << 13;
    }
    void convertText() {
        QFETCH(QString, amount);
        QFETCH(Currency, from);
        QFETCH(QString, result);
        QFETCH(int, error);
        QString got;
        int raised = 0;
        try {
            got = euro::convertText(amount, from);
        } catch (const RuntimeError& e) {
            raised = static_cast<int>(e.code());
        }
        QCOMPARE(raised, error);
        QCOMPARE(got, result);
    }

    void withDecimalCommas_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("read");
        QTest::newRow("one point") << "12.5"
                                   << "12,5";
        QTest::newRow("every point") << "1.2.3"
                                     << "1,2,3";
        QTest::newRow("leading point") << ".5"
                                       << ",5";
        QTest::newRow("commas untouched") << "12,5"
                                          << "12,5";
        QTest::newRow("mixed") << "1.000,5"
                               << "1,000,5";
        QTest::newRow("empty") << ""
                               << "";
    }
    void withDecimalCommas() {
        QFETCH(QString, typed);
        QFETCH(QString, read);
        QCOMPARE(euro::withDecimalCommas(typed), read);
    }
};

QTEST_GUILESS_MAIN(TestCurrency)
#include "tst_currency.moc"
