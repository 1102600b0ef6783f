#include "platform/picturecache.h"

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

} // namespace

// Whether a picture is kept as drawn, copied or kept in part, a window showing it must see
// exactly what the picture draws.
class TestPictureCache : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void keptPixelsAreTheDrawnOnes_data() {
        QTest::addColumn<quintptr>("function");
        QTest::addColumn<QSize>("pixels");
        QTest::addColumn<QSize>("drawn");
        const auto add = [](const char* name, PictureFunction function, QSize pixels, QSize drawn) {
            QTest::newRow(name) << reinterpret_cast<quintptr>(function) << pixels << drawn;
        };
        add("opaque", opaqueGround, {300, 200}, {300, 200});
        add("opaque, kept in part", opaqueGround, {300, 200}, {120, 80});
        add("opaque at scale 2", opaqueGround, {600, 400}, {600, 400});
        add("translucent", translucentDisc, {64, 64}, {64, 64});
    }
    void keptPixelsAreTheDrawnOnes() {
        QFETCH(quintptr, function);
        QFETCH(QSize, pixels);
        QFETCH(QSize, drawn);
        const auto picture = reinterpret_cast<PictureFunction>(function);
        const PictureKey key{picture, QSizeF(300, 200), pixels, drawn};
        const QImage expected = drawPicture(picture, key);
        QCOMPARE(expected.size(), drawn);
        // Asked twice: drawn and kept, then taken as kept.
        for (int pass = 0; pass < 2; ++pass) {
            const QImage kept = PictureCache::instance().image(picture, key);
            QCOMPARE(kept.convertToFormat(expected.format()), expected);
        }
    }
};

QTEST_MAIN(TestPictureCache)
#include "tst_picturecache.moc"
