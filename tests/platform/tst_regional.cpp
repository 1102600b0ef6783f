#include "euro/currency.h"
#include "platform/conversions.h"

#include "support/testsupport.h"

#include <QtTest>

using namespace vorn;
using euro::Currency;

Q_DECLARE_METATYPE(euro::Currency)

// A French session whose numbers follow another locale (LC_NUMERIC=C): the suite still reads
// and writes them with the decimal comma its windows show and type.
class TestRegional : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { vorn::test::failOnQtWarnings(); }

    void readsAndWritesTheDecimalComma_data() {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<Currency>("from");
        QTest::addColumn<QString>("result");
        QTest::newRow("100 francs") << "100" << Currency::Francs << "15,245";
        QTest::newRow("the result back to francs") << "15,245" << Currency::Euros << "100,001";
        QTest::newRow("an amount typed with a point")
            << euro::withDecimalCommas("12.5") << Currency::Francs << "1,906";
    }
    void readsAndWritesTheDecimalComma() {
        QFETCH(QString, amount);
        QFETCH(Currency, from);
        QFETCH(QString, result);
        QCOMPARE(euro::convertText(amount, from), result);
    }
};

int main(int argc, char** argv) {
    // Qt reads the system locale from the environment once, so the session is set up before
    // the application exists; no locale of the machine is needed.
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"})
        qunsetenv(name);
    qputenv("LANG", "fr_FR.UTF-8");
    qputenv("LC_NUMERIC", "C");
    QCoreApplication app(argc, argv);
    TestRegional test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_regional.moc"
