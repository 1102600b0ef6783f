#include "platform/pictureicon.h"

#include "platform/picturecache.h"

#include <QIconEngine>
#include <QPixmap>

#include <utility>

namespace vorn {

namespace {

// The size Qt hands an icon engine's scaledPixmap: in device pixels before Qt 6.8, in logical
// pixels (to be multiplied by the scale passed with it) from Qt 6.8 on.
constexpr bool kScaledPixmapTakesLogicalSize = QT_VERSION >= QT_VERSION_CHECK(6, 8, 0);

// Paints the picture once for each size and mode asked, on a transparent pixmap, and keeps
// it (a picture that is a plain function, in the picture cache): a window hands its icon to the
// window system each time it is made or given one.
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
        if (const PictureFunction function = pictureFunction(m_picture);
            function && mode == QIcon::Normal) {
            // Kept in the picture cache, shared with every other icon of the same picture and
            // ready at start where the program has it built in; a pixmap kept here too would
            // hold the same pixels twice.
            return QPixmap::fromImage(
                PictureCache::instance().image(m_picture, {function, QSizeF(size), size, size}));
        }
        const Key key{size, mode};
        for (const auto& [drawn, pixmap] : m_drawn) {
            if (drawn == key)
                return pixmap;
        }
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        {
            QPainter painter(&pixmap);
            paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        }
        m_drawn.append({key, pixmap});
        return pixmap;
    }

    // Drawn at the size in device pixels, which keeps every edge sharp.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        return pixmap(kScaledPixmapTakesLogicalSize ? size * scale : size, mode, state);
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
    struct Key {
        QSize size;
        QIcon::Mode mode;
        bool operator==(const Key&) const = default;
    };

    Picture m_picture;
    QList<int> m_sizes;
    QList<std::pair<Key, QPixmap>> m_drawn; // a handful of sizes at most
};

} // namespace

QIcon pictureIcon(Picture picture, QList<int> sizes) {
    return QIcon(new PictureIconEngine(std::move(picture), std::move(sizes)));
}

} // namespace vorn
