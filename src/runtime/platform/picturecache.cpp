#include "platform/picturecache.h"

#include <QHashFunctions>

#include <cmath>

namespace vorn {

namespace {

// Every picture the suite shows at scale 1 fits about three times over, and the large ones
// still fit at scale 2.
constexpr qint64 kBoundBytes = 8 * 1024 * 1024;

// The largest drawn picture copied to let its painter's buffers go, and kept with its alpha
// byte even when opaque.
constexpr qsizetype kFreshCopyBytes = 64 * 1024;

// Whether every pixel of a premultiplied ARGB32 image is fully opaque.
bool isOpaque(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        const auto* pixel = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (const QRgb* end = pixel + image.width(); pixel != end; ++pixel) {
            if (qAlpha(*pixel) != 255)
                return false;
        }
    }
    return true;
}

} // namespace

size_t qHash(const PictureKey& key, size_t seed) {
    return qHashMulti(seed, reinterpret_cast<quintptr>(key.picture), key.size.width(),
                      key.size.height(), key.pixels.width(), key.pixels.height(), key.drawn.width(),
                      key.drawn.height());
}

int wholePixels(qreal length) {
    return static_cast<int>(std::ceil(length - 1e-6));
}

PictureKey wholePictureKey(PictureFunction picture, QSizeF size, qreal ratio) {
    const QSize pixels(wholePixels(size.width() * ratio), wholePixels(size.height() * ratio));
    return {picture, size, pixels, pixels};
}

QImage drawPicture(const Picture& picture, const PictureKey& key) {
    // Always drawn whole: thin lines clipped at a smaller image's edge would fall on slightly
    // other pixels. Only the part that shows is kept.
    QImage image(key.pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(key.pixels.width() / key.size.width(),
                      key.pixels.height() / key.size.height());
        picture(painter, QRectF(QPointF(0, 0), key.size));
    }
    // An image painted on keeps its painter's engine, rasterizer buffers and all, for as long as
    // its pixels live. Those buffers grow with the paths drawn, not with the pixels: a small
    // picture, an icon, is returned as a copy that has none; a large one is not held twice
    // for the time of a copy.
    const QRect kept(QPoint(0, 0), key.drawn);
    if (key.drawn != key.pixels || image.sizeInBytes() <= kFreshCopyBytes)
        image = image.copy(kept);
    // An opaque picture needs no alpha byte: a large one is kept at three bytes a pixel, which
    // hold its colours exactly, converted where it lies. Each paint of it then converts the
    // pixels back, which a small one, the launcher's ground or an icon, would pay for at every
    // paint for little memory.
    if (image.sizeInBytes() > kFreshCopyBytes && isOpaque(image))
        image.convertTo(QImage::Format_RGB888);
    return image;
}

PictureFunction pictureFunction(const Picture& picture) {
    const PictureFunction* function = picture.target<PictureFunction>();
    return function ? *function : nullptr;
}

PictureCache& PictureCache::instance() {
    static PictureCache cache;
    return cache;
}

PictureCache::PictureCache()
    : m_images(kBoundBytes) {}

QImage PictureCache::image(const Picture& picture, const PictureKey& key) {
    if (const QImage* kept = m_images.object(key))
        return *kept;
    return insert(key, obtain(picture, key));
}

void PictureCache::prepare(const PictureKey& key) {
    if (!m_images.contains(key))
        insert(key, obtain(key.picture, key));
}

QImage PictureCache::obtain(const Picture& picture, const PictureKey& key) const {
    if (m_ready) {
        if (QImage ready = m_ready(key); !ready.isNull())
            return ready;
    }
    return drawPicture(picture, key);
}

QImage PictureCache::insert(const PictureKey& key, const QImage& image) {
    m_images.insert(key, new QImage(image), image.sizeInBytes());
    return image;
}

void PictureCache::releaseUnused(const PictureKey& key) {
    const QImage* kept = m_images.object(key);
    if (kept && kept->isDetached())
        m_images.remove(key);
}

} // namespace vorn
