#include "platform/picturecache.h"
#include "support/testsupport.h"

#include <QtTest>

using namespace vorn;

namespace {

void opaqueGround(QPainter& painter, const QRectF& target) {
    QLinearGradient ground(target.topLeft(), target.bottomRight());
    ground.setColorAt(0, QColor(236, 219, 178));
    ground.setColorAt(1, QColor(72, 40, 16));
    painter.fillRect(target, ground);
}

void translucentDisc(QPainter& painter, const QRectF& target) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(20, 90, 200, 140));
    painter.drawEllipse(target.adjusted(2, 2, -2, -2));
}

// Opaque but for its bottom-right pixel, which lets a little of what lies below show through.
void nearlyOpaque(QPainter& painter, const QRectF& target) {
    opaqueGround(painter, target);
    const qreal pixel = 1 / painter.transform().m11();
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(QRectF(target.bottomRight() - QPointF(pixel, pixel), QSizeF(pixel, pixel)),
                     QColor(10, 20, 30, 254));
}

// What a window showing `kept` sees: a grey ground in the format of a window's backing store,
// with the pixels painted over it at `scale` device pixels to each.
QImage shown(const QImage& kept, QImage::Format format, qreal scale) {
    QImage window((QSizeF(kept.size()) * scale).toSize() + QSize(4, 4), format);
    window.fill(QColor(128, 128, 128));
    QPainter painter(&window);
    painter.scale(scale, scale);
    painter.drawImage(QPointF(1, 1), kept);
    return window;
}

} // namespace

// Whether a picture is kept as drawn, copied, kept in part or without its alpha, a window
// showing it must see exactly what the picture draws; a large opaque picture keeps no alpha.
class TestPictureCache : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void keptPixelsAreTheDrawnOnes_data() {
        QTest::addColumn<quintptr>("function");
        QTest::addColumn<QSize>("pixels");
        QTest::addColumn<QSize>("drawn");
        QTest::addColumn<bool>("noAlpha");
        const auto add = [](const char* name, PictureFunction function, QSize pixels, QSize drawn,
                            bool noAlpha) {
            QTest::newRow(name) << reinterpret_cast<quintptr>(function) << pixels << drawn
                                << noAlpha;
        };
        add("opaque", opaqueGround, {300, 200}, {300, 200}, true);
        add("opaque, kept in part", opaqueGround, {300, 200}, {200, 150}, true);
        add("opaque, small", opaqueGround, {120, 80}, {120, 80}, false);
        add("opaque at scale 2", opaqueGround, {600, 400}, {600, 400}, true);
        add("translucent", translucentDisc, {64, 64}, {64, 64}, false);
        add("translucent, large", translucentDisc, {300, 200}, {300, 200}, false);
        add("one pixel not opaque", nearlyOpaque, {300, 200}, {300, 200}, false);
        add("not opaque outside the part kept", nearlyOpaque, {300, 200}, {200, 150}, true);
    }
    void keptPixelsAreTheDrawnOnes() {
        QFETCH(quintptr, function);
        QFETCH(QSize, pixels);
        QFETCH(QSize, drawn);
        QFETCH(bool, noAlpha);
        const auto picture = reinterpret_cast<PictureFunction>(function);
        const PictureKey key{picture, QSizeF(300, 200), pixels, drawn};
        // The picture as windows showed it when every picture kept its alpha.
        QImage whole(pixels, QImage::Format_ARGB32_Premultiplied);
        whole.fill(Qt::transparent);
        {
            QPainter painter(&whole);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.scale(pixels.width() / key.size.width(), pixels.height() / key.size.height());
            picture(painter, QRectF(QPointF(0, 0), key.size));
        }
        const QImage expected = whole.copy(QRect(QPoint(0, 0), drawn));
        // Asked twice: drawn and kept, then taken as kept.
        for (int pass = 0; pass < 2; ++pass) {
            const QImage kept = PictureCache::instance().image(picture, key);
            QCOMPARE(kept.convertToFormat(expected.format()), expected);
            QCOMPARE(kept.hasAlphaChannel(), !noAlpha);
            // Painted onto a window as it is, and scaled where a target does not end on a
            // whole device pixel: there Qt may take a pixel's neighbour in a picture kept
            // without its alpha, a step of colour apart in a smooth one.
            for (const auto format : {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied}) {
                QCOMPARE(shown(kept, format, 1), shown(expected, format, 1));
                for (const qreal scale : {0.995, 1.5})
                    QVERIFY(test::looksAlike(shown(kept, format, scale),
                                             shown(expected, format, scale), 1));
            }
        }
    }
};

QTEST_MAIN(TestPictureCache)
#include "tst_picturecache.moc"
