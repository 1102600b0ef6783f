#pragma once

#include "platform/picture.h"

#include <QCache>
#include <QImage>
#include <QSize>
#include <QSizeF>

namespace vorn {

// What determines a drawn picture's pixels: the drawing function, the size of the target it
// fills, the device pixels that target covers (its size times the pixel ratio), and how many
// of them, from the top-left corner, are drawn.
struct PictureKey {
    PictureFunction picture = nullptr;
    QSizeF size;
    QSize pixels;
    QSize drawn;
    bool operator==(const PictureKey&) const = default;
};
size_t qHash(const PictureKey& key, size_t seed = 0);

// The whole device pixels a length covers, forgiving a rounding error.
int wholePixels(qreal length);

// The key of a picture drawn whole for a target of `size` (in device-independent pixels) at
// `ratio` device pixels to each: what a window showing it there keeps it under.
PictureKey wholePictureKey(PictureFunction picture, QSizeF size, qreal ratio);

// Draws the picture into a new transparent image, scaled so that a target of `key.size`
// covers `key.pixels`, and keeps the top-left `key.drawn` of them: premultiplied, or without
// an alpha channel where every pixel kept is opaque.
QImage drawPicture(const Picture& picture, const PictureKey& key);

// The drawing function behind a picture when it is a plain function, which every window
// showing it shares; nullptr for anything else.
PictureFunction pictureFunction(const Picture& picture);

// Where a picture's pixels can be had without drawing it, built into the program: a null image
// where they cannot.
using ReadyPixels = QImage (*)(const PictureKey& key);

// The pictures drawn so far, kept for the whole program and shared by every window that shows
// them, so a window opened again shows its pictures without drawing them. Their pixels are
// bounded: past the bound the least recently shown go (their memory returns once no window
// shows them any more).
class PictureCache {
public:
    static PictureCache& instance();

    // The pixels of the picture for `key`, drawn now unless they are kept.
    QImage image(const Picture& picture, const PictureKey& key);
    // Draws the picture into the cache ahead of the window that will show it.
    void prepare(const PictureKey& key);
    // Takes the pixels from `ready` where it has them, as a key is first asked for.
    void setReadyPixels(ReadyPixels ready) { m_ready = ready; }
    // Lets the pixels of `key` go if nothing but the cache holds them: a window resized
    // through many sizes leaves none of the sizes it went through behind.
    void releaseUnused(const PictureKey& key);

private:
    PictureCache();
    // The pixels of the picture for `key`: ready-made, read where they lie, or drawn now.
    QImage obtain(const Picture& picture, const PictureKey& key) const;
    // Keeps the pixels under `key` and returns them.
    QImage insert(const PictureKey& key, const QImage& image);

    QCache<PictureKey, QImage> m_images;
    ReadyPixels m_ready = nullptr;
};

} // namespace vorn
