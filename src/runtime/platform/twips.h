#pragma once

#include <QRect>
#include <QRectF>

#include <cmath>

// Twips: 1440 to the inch, 15 to a logical pixel at the reference resolution.
namespace vorn {

inline constexpr float kTwipsPerPixel = 15.0f;

inline int twipsToPixels(float twips) {
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

inline qreal twipsToPixelsF(float twips) {
    return static_cast<qreal>(twips) / kTwipsPerPixel;
}

inline float pixelsToTwips(int pixels) {
    return static_cast<float>(pixels) * kTwipsPerPixel;
}

// A rectangle in twips, kept as single-precision values; the pixel geometry is derived from it.
struct TwipsRect {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;

    QRect toPixels() const {
        return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                     twipsToPixels(height));
    }
};

} // namespace vorn
