#include "shell/readypictures.h"

#include <QtTest>

using namespace vorn;

// The pictures built into the program for start-up must be exactly what the windows' code
// draws: the launcher shows the built-in pixels where it would otherwise draw them.
class TestReadyPictures : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void builtInPixelsAreTheDrawnOnes_data() {
        QTest::addColumn<int>("index");
        const auto all = ready::readyPictures();
        for (std::size_t i = 0; i < all.size(); ++i)
            QTest::newRow(all[i].name) << int(i);
    }
    void builtInPixelsAreTheDrawnOnes() {
        QFETCH(int, index);
        const ready::ReadyPicture& picture = ready::readyPictures()[std::size_t(index)];
        const QImage builtIn = ready::builtIn(picture);
        QVERIFY(!builtIn.isNull());
        // An opaque picture is drawn without an alpha channel; its pixels are what count.
        QCOMPARE(builtIn, ready::draw(picture).convertToFormat(builtIn.format()));
    }
};

QTEST_MAIN(TestReadyPictures)
#include "tst_readypictures.moc"
