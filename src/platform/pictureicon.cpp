#include "platform/pictureicon.h"

#include <QIconEngine>
#include <QPixmap>

namespace vorn {

namespace {

class PictureIconEngine final : public QIconEngine {
public:
    explicit PictureIconEngine(Picture picture)
        : m_picture(std::move(picture)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        if (mode == QIcon::Disabled)
            painter->setOpacity(0.45);
        m_picture(*painter, QRectF(rect));
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1.0);
    }

    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        QPixmap pixmap(size * scale);
        pixmap.setDevicePixelRatio(scale);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QIconEngine* clone() const override { return new PictureIconEngine(m_picture); }

private:
    Picture m_picture;
};

} // namespace

QIcon pictureIcon(Picture picture) {
    return QIcon(new PictureIconEngine(std::move(picture)));
}

} // namespace vorn
