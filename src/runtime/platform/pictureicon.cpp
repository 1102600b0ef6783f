#include "platform/pictureicon.h"

#include <QIconEngine>
#include <QPixmap>

namespace vorn {

namespace {

// Paints the picture afresh for every size and pixel ratio asked, on a transparent pixmap.
class PictureIconEngine final : public QIconEngine {
public:
    PictureIconEngine(Picture picture, QList<int> sizes)
        : m_picture(std::move(picture))
        , m_sizes(std::move(sizes)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        if (mode == QIcon::Disabled)
            painter->setOpacity(0.45);
        m_picture(*painter, QRectF(rect));
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }

    // QIcon passes the size in device pixels already; drawing at it keeps every edge sharp.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal) override {
        return pixmap(size, mode, state);
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (int side : m_sizes)
            sizes.append(QSize(side, side));
        return sizes;
    }

    QIconEngine* clone() const override { return new PictureIconEngine(m_picture, m_sizes); }

private:
    Picture m_picture;
    QList<int> m_sizes;
};

} // namespace

QIcon pictureIcon(Picture picture, QList<int> sizes) {
    return QIcon(new PictureIconEngine(std::move(picture), std::move(sizes)));
}

} // namespace vorn
