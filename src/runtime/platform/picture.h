#pragma once

#include <QBrush>
#include <QImage>
#include <QPainter>
#include <QRectF>

#include <algorithm>
#include <cstdint>
#include <functional>

namespace vorn {

// A picture drawn by code into the rectangle it is given, so it stays sharp at any scale.
using Picture = std::function<void(QPainter& painter, const QRectF& target)>;
// A picture that is a plain function: every window that shows it can share its pixels.
using PictureFunction = void (*)(QPainter& painter, const QRectF& target);

// How a picture's grid is laid onto its target: stretched to fill it, or kept in proportion
// at the target's top-left corner or centre.
enum class GridFit { Stretch, KeepTopLeft, KeepCentred };

// Draws a picture on a grid of its own units: for its lifetime the painter is saved,
// antialiased and maps a width x height grid onto the target rectangle.
class PictureGrid {
public:
    PictureGrid(QPainter& painter, const QRectF& target, qreal width, qreal height,
                GridFit fit = GridFit::Stretch)
        : m_painter(painter) {
        m_painter.save();
        m_painter.setRenderHint(QPainter::Antialiasing);
        qreal sx = target.width() / width;
        qreal sy = target.height() / height;
        QPointF origin = target.topLeft();
        if (fit != GridFit::Stretch) {
            sx = sy = std::min(sx, sy);
            if (fit == GridFit::KeepCentred)
                origin = target.center() - QPointF(width * sx, height * sy) / 2;
        }
        m_painter.translate(origin);
        m_painter.scale(sx, sy);
    }
    ~PictureGrid() { m_painter.restore(); }
    PictureGrid(const PictureGrid&) = delete;
    PictureGrid& operator=(const PictureGrid&) = delete;

private:
    QPainter& m_painter;
};

// Fills the target with a gradient through `stops` from its top-left to its bottom-right
// corner, the usual ground of a window's background.
void fillDiagonal(QPainter& painter, const QRectF& target, const QGradientStops& stops);

// A picture drawn once at the size it is shown at and kept: later paints of the same size
// copy the kept pixels instead of drawing the picture again. A picture that is a plain
// function is kept in the program's picture cache, shared with every other window showing it
// at that size. Any other transform than a move and a scale draws the picture directly.
class CachedPicture {
public:
    CachedPicture() = default;
    CachedPicture(Picture picture); // NOLINT: a picture converts implicitly
    CachedPicture(const CachedPicture&) = delete;
    CachedPicture& operator=(const CachedPicture&) = delete;
    CachedPicture& operator=(Picture picture);

    explicit operator bool() const { return static_cast<bool>(m_picture); }
    // Draws the picture into `target`. `shown`, when not empty, is the size from the target's
    // top-left corner beyond which nothing of it can ever show: only that part is kept.
    void operator()(QPainter& painter, const QRectF& target, QSizeF shown = {});

private:
    // Drops the pixels of the size shown so far, from the cache too unless another window
    // shows them; a window closing keeps them in the cache for its next opening.
    void letSizeGo();

    Picture m_picture;
    PictureFunction m_function = nullptr;
    QImage m_pixels;
    QSize m_pixelSize; // the device pixels of the whole target
    QSizeF m_size;
};

// A small deterministic number generator, so a textured picture is the same at every paint.
class PictureNoise {
public:
    explicit PictureNoise(std::uint32_t seed)
        : m_state(seed) {}
    // The next number, in [0, 1).
    double next() {
        m_state = m_state * 1664525u + 1013904223u;
        return static_cast<double>(m_state >> 8) / static_cast<double>(1u << 24);
    }

private:
    std::uint32_t m_state;
};

} // namespace vorn
