#include "platform/picture.h"

#include <QLinearGradient>

#include <cmath>

namespace vorn {

void fillDiagonal(QPainter& painter, const QRectF& target, const QGradientStops& stops) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient ground(target.topLeft(), target.bottomRight());
    ground.setStops(stops);
    painter.fillRect(target, ground);
    painter.restore();
}

void CachedPicture::operator()(QPainter& painter, const QRectF& target) {
    if (!m_picture || target.isEmpty())
        return;
    const QTransform& transform = painter.deviceTransform();
    if (transform.type() > QTransform::TxScale) {
        m_picture(painter, target);
        return;
    }
    const QRectF device = transform.mapRect(target);
    const QSize pixels(static_cast<int>(std::ceil(device.width() - 1e-6)),
                       static_cast<int>(std::ceil(device.height() - 1e-6)));
    if (m_pixels.isNull() || m_drawnSize != device.size()) {
        m_pixels = QPixmap(pixels);
        m_pixels.fill(Qt::transparent);
        QPainter pixelPainter(&m_pixels);
        pixelPainter.setRenderHint(QPainter::Antialiasing);
        pixelPainter.scale(pixels.width() / target.width(), pixels.height() / target.height());
        m_picture(pixelPainter, QRectF(QPointF(0, 0), target.size()));
        m_drawnSize = device.size();
    }
    painter.drawPixmap(target, m_pixels, QRectF(QPointF(0, 0), QSizeF(pixels)));
}

} // namespace vorn
