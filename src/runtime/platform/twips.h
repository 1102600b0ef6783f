#pragma once

#include <QRect>
#include <QRectF>

#include <algorithm>
#include <cmath>

// Twips: 1440 to the inch, 15 to a logical pixel at the reference resolution.
namespace vorn {

inline constexpr float kTwipsPerPixel = 15.0f;

// The farthest a place or a size in pixels goes, either way: the largest size a widget takes
// (QWIDGETSIZE_MAX). Twips beyond it, or no number at all, would wrap round to the other side
// as they became whole pixels.
inline constexpr float kMostPixels = 16777215.0f;

template <class Real> Real boundedPixels(Real pixels) {
    const Real most = kMostPixels;
    return std::isnan(pixels) ? Real(0) : std::clamp(pixels, -most, most);
}

inline int twipsToPixels(float twips) {
    return static_cast<int>(std::lround(boundedPixels(twips / kTwipsPerPixel)));
}

inline qreal twipsToPixelsF(float twips) {
    return boundedPixels(static_cast<qreal>(twips) / kTwipsPerPixel);
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
