#include "platform/pictureicon.h"
#include "platform/pictures.h"
#include "support/testsupport.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QtTest>

using namespace vorn;

namespace {

QImage drawn(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    pictures::applicationIcon(painter, QRectF(0, 0, width, height));
    return image;
}

} // namespace

// The icon is installed at the theme sizes and drawn for the windows at any pixel ratio: at
// every size it must be a tile with clear corners, and a high-resolution pixmap must be drawn
// at its device size rather than scaled up.
class TestAppIcon : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { test::initRuntime(*qApp); }

    void tileFillsTheSquare_data() {
        QTest::addColumn<int>("size");
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
            QTest::addRow("%d", size) << size;
    }
    void tileFillsTheSquare() {
        QFETCH(int, size);
        const QImage image = drawn(size, size);
        const int last = size - 1;
        for (QPoint corner : {QPoint(0, 0), QPoint(last, 0), QPoint(0, last), QPoint(last, last)})
            QCOMPARE(qAlpha(image.pixel(corner)), 0);
        // Just inside each edge's middle the tile is opaque and blue.
        const int inset = size / 8;
        for (QPoint edge : {QPoint(size / 2, inset), QPoint(inset, size / 2)}) {
            const QRgb pixel = image.pixel(edge);
            QCOMPARE(qAlpha(pixel), 255);
            QVERIFY2(qBlue(pixel) > qRed(pixel) + 60, qPrintable(QString::number(pixel, 16)));
        }
        // The dial's face is light, the coin gold.
        const QRgb face = image.pixel(size * 20 / 64, size * 34 / 64);
        QVERIFY(qRed(face) > 180 && qGreen(face) > 180 && qBlue(face) > 180);
        const QRgb coin = image.pixel(size * 45 / 64, size * 53 / 64);
        QVERIFY2(qRed(coin) > qBlue(coin) + 80, qPrintable(QString::number(coin, 16)));
    }

    void nonSquareTargetKeepsTheIconSquareAndCentred() {
        const QImage wide = drawn(128, 64);
        QCOMPARE(wide.copy(32, 0, 64, 64), drawn(64, 64));
        QCOMPARE(qAlpha(wide.pixel(16, 32)), 0);
        QCOMPARE(qAlpha(wide.pixel(112, 32)), 0);
    }

    void pixmapsAreDrawnAtTheirDeviceSize_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<qreal>("ratio");
        QTest::newRow("16 at 1") << 16 << 1.0;
        QTest::newRow("32 at 2") << 32 << 2.0;
        QTest::newRow("24 at 1.5") << 24 << 1.5;
        QTest::newRow("128 at 2") << 128 << 2.0;
    }
    void pixmapsAreDrawnAtTheirDeviceSize() {
        QFETCH(int, size);
        QFETCH(qreal, ratio);
        const QPixmap pixmap = appIcon().pixmap(QSize(size, size), ratio);
        const int pixels = qRound(size * ratio);
        QCOMPARE(pixmap.size(), QSize(pixels, pixels));
        QCOMPARE(pixmap.devicePixelRatio(), ratio);
        QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(1.0);
        QCOMPARE(image, drawn(pixels, pixels));
    }

    // Windows hand their icon to the window system each time one is made: each size and mode
    // is drawn once and kept.
    void eachSizeAndModeIsDrawnOnce() {
        int draws = 0;
        const QIcon icon = pictureIcon([&draws](QPainter&, const QRectF&) { ++draws; });
        for (int round = 0; round < 2; ++round) {
            icon.pixmap(QSize(16, 16), 1.0);
            icon.pixmap(QSize(48, 48), 1.0);
            icon.pixmap(QSize(48, 48), 1.0, QIcon::Disabled);
            const QIcon copy = icon;
            copy.pixmap(QSize(16, 16), 1.0);
        }
        QCOMPARE(draws, 3);
    }

    void programAnnouncesTheIcon() {
        QVERIFY(!QApplication::windowIcon().isNull());
        const QImage shown = QApplication::windowIcon().pixmap(QSize(48, 48), 1.0).toImage();
        QCOMPARE(shown.convertToFormat(QImage::Format_ARGB32_Premultiplied), drawn(48, 48));
    }
};

QTEST_MAIN(TestAppIcon)
#include "tst_appicon.moc"
