#include "platform/picture.h"

#include "platform/picturecache.h"

#include <QLinearGradient>

#include <utility>

namespace vorn {

void fillDiagonal(QPainter& painter, const QRectF& target, const QGradientStops& stops) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient ground(target.topLeft(), target.bottomRight());
    ground.setStops(stops);
    painter.fillRect(target, ground);
    painter.restore();
}

CachedPicture::CachedPicture(Picture picture)
    : m_picture(std::move(picture))
    , m_function(pictureFunction(m_picture)) {}

CachedPicture& CachedPicture::operator=(Picture picture) {
    m_pixels = QImage();
    m_picture = std::move(picture);
    m_function = pictureFunction(m_picture);
    return *this;
}

void CachedPicture::letSizeGo() {
    if (m_pixels.isNull())
        return;
    const PictureKey key{m_function, m_size, m_pixelSize, m_pixels.size()};
    m_pixels = QImage();
    if (m_function)
        PictureCache::instance().releaseUnused(key);
}

void CachedPicture::operator()(QPainter& painter, const QRectF& target, QSizeF shown) {
    if (!m_picture || target.isEmpty())
        return;
    const QTransform& transform = painter.deviceTransform();
    if (transform.type() > QTransform::TxScale) {
        m_picture(painter, target);
        return;
    }
    const QRectF device = transform.mapRect(target);
    const QSize pixels(wholePixels(device.width()), wholePixels(device.height()));
    const qreal sx = pixels.width() / target.width();
    const qreal sy = pixels.height() / target.height();
    QSize drawn = pixels;
    if (!shown.isEmpty())
        drawn = drawn.boundedTo(
            QSize(wholePixels(shown.width() * sx), wholePixels(shown.height() * sy)));
    const PictureKey key{m_function, target.size(), pixels, drawn};
    if (m_pixels.isNull() || m_size != key.size || m_pixelSize != pixels ||
        m_pixels.size() != drawn) {
        letSizeGo();
        m_pixels = m_function ? PictureCache::instance().image(m_picture, key)
                              : drawPicture(m_picture, key);
        m_size = key.size;
        m_pixelSize = pixels;
    }
    const QRectF part =
        drawn == pixels ? target
                        : QRectF(target.topLeft(), QSizeF(drawn.width() / sx, drawn.height() / sy));
    painter.drawImage(part, m_pixels, QRectF(QPointF(0, 0), QSizeF(drawn)));
}

} // namespace vorn
