#include "shell/readypictures.h"

#include "chronology/pictures.h"
#include "platform/pictures.h"
#include "shell/pictures.h"

#include <QResource>

#include <array>

namespace vorn::ready {

namespace {

// The application icon drawn whole on a square of `side` pixels.
constexpr PictureKey iconKey(int side) {
    return {pictures::applicationIcon, QSizeF(side, side), QSize(side, side), QSize(side, side)};
}

// The close picture at the launcher's 480 twips, at a pixel ratio.
constexpr PictureKey closeKey(int ratio) {
    return {pictures::closeIcon, QSizeF(32, 32), QSize(32 * ratio, 32 * ratio),
            QSize(32 * ratio, 32 * ratio)};
}

constexpr QSize kTextureSize(100, 100);

// The parchment at scale 1, whole: the chronology shows its top at first and the rest as the
// window grows.
constexpr QSize kParchmentPixels(512, 512);
constexpr PictureKey kParchmentKey{pictures::parchment, pictures::kParchmentSize, kParchmentPixels,
                                   kParchmentPixels};

constexpr std::array kReady{
    ReadyPicture{"appicon-16", iconKey(16)},
    ReadyPicture{"appicon-32", iconKey(32)},
    ReadyPicture{"appicon-48", iconKey(48)},
    ReadyPicture{"appicon-64", iconKey(64)},
    ReadyPicture{"appicon-96", iconKey(96)},
    ReadyPicture{"close-32", closeKey(1)},
    ReadyPicture{"close-64", closeKey(2)},
    ReadyPicture{"parchment", kParchmentKey},
    ReadyPicture{"texture", {}},
};

// The pixel size a ready picture is kept at.
QSize pixelsOf(const ReadyPicture& ready) {
    return ready.key.picture ? ready.key.drawn : kTextureSize;
}

// The built-in pixels of the picture for `key`, or a null image where none are built in.
QImage builtInFor(const PictureKey& key) {
    for (const ReadyPicture& ready : kReady) {
        if (ready.key.picture && ready.key == key)
            return builtIn(ready);
    }
    return {};
}

} // namespace

std::span<const ReadyPicture> readyPictures() {
    return kReady;
}

QImage draw(const ReadyPicture& ready) {
    return ready.key.picture ? drawPicture(ready.key.picture, ready.key)
                             : pictures::drawnTexture(kTextureSize);
}

QImage builtIn(const ReadyPicture& ready) {
    const QResource resource(
        QStringLiteral(":/vornutil/ready/%1.pixels").arg(QLatin1String(ready.name)));
    const QSize pixels = pixelsOf(ready);
    const auto* data = resource.data();
    if (resource.compressionAlgorithm() != QResource::NoCompression || !data)
        return {};
    // Its size tells the format: 32-bit premultiplied, or an opaque picture's three bytes a
    // pixel in rows padded to four bytes.
    const qsizetype argbLine = qsizetype(pixels.width()) * 4;
    const qsizetype opaqueLine = (qsizetype(pixels.width()) * 3 + 3) / 4 * 4;
    const bool opaque = resource.size() == opaqueLine * pixels.height();
    if (!opaque && resource.size() != argbLine * pixels.height())
        return {};
    // Read in place, from the program's own pages: only the rows painted are ever loaded, and
    // nothing is copied. Pixels that do not lie on a 32-bit boundary are copied to one.
    const QImage image(data, pixels.width(), pixels.height(), opaque ? opaqueLine : argbLine,
                       opaque ? QImage::Format_RGB888 : QImage::Format_ARGB32_Premultiplied);
    return reinterpret_cast<quintptr>(data) % alignof(quint32) == 0 ? image : image.copy();
}

void useBuiltInPictures() {
    PictureCache::instance().setReadyPixels(&builtInFor);
}

QImage texture() {
    const QImage image = builtIn(kReady.back()); // the texture comes last
    return image.isNull() ? pictures::drawnTexture(kTextureSize) : image;
}

} // namespace vorn::ready
