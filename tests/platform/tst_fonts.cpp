#include "platform/fonts.h"
#include "support/testsupport.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QRawFont>
#include <QtTest>

using namespace vorn;

// Every family a window asks for must resolve to an installed font that draws French text:
// without a substitution some names resolve to symbol fonts and text becomes pictograms.
class TestFonts : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { test::initRuntime(*qApp); }

    void familiesResolveToLatinFonts_data() {
        QTest::addColumn<QString>("family");
        for (const QString& family : requestedFontFamilies())
            QTest::newRow(qPrintable(family)) << family;
    }
    void familiesResolveToLatinFonts() {
        QFETCH(QString, family);
        QFont font(family);
        font.setPointSizeF(12);
        const QString resolved = QFontInfo(font).family();
        QVERIFY2(QFontDatabase::families().contains(resolved), qPrintable(resolved));
        QVERIFY2(QFontDatabase::writingSystems(resolved).contains(QFontDatabase::Latin),
                 qPrintable(resolved));
        const QRawFont raw = QRawFont::fromFont(font);
        QVERIFY(raw.isValid());
        for (const QChar c : QStringLiteral("AzéèêàçùôÉÀœ€0,:"))
            QVERIFY2(raw.supportsCharacter(c),
                     qPrintable(QStringLiteral("%1 lacks %2").arg(resolved, QString(c))));

        // The controls' font names the installed family directly: the very face the
        // substitution gives, at the same weight.
        const QFont direct = makeFont(family, 12);
        QVERIFY2(QFontDatabase::hasFamily(direct.family()), qPrintable(direct.family()));
        QFont asked(family);
        asked.setPointSizeF(12);
        asked.setBold(direct.bold());
        QCOMPARE(QFontInfo(direct).family(), QFontInfo(asked).family());
        QCOMPARE(QFontInfo(direct).styleName(), QFontInfo(asked).styleName());
        // A character the face lacks, typed by the user, still shows in another installed
        // font (only the DejaVu faces draw the snowman).
        QVERIFY(QFontMetrics(direct).inFontUcs4(0x2603));
    }

    void substitutionIsNotTheSymbolFallback() {
        // "Impact" is the name fontconfig maps to a symbol font when nothing is substituted.
        const QString resolved = QFontInfo(QFont(QStringLiteral("Impact"))).family();
        QVERIFY2(!resolved.contains(QStringLiteral("D050000L")), qPrintable(resolved));
        QVERIFY2(!resolved.contains(QStringLiteral("Symbol")), qPrintable(resolved));
    }
};

QTEST_MAIN(TestFonts)
#include "tst_fonts.moc"
