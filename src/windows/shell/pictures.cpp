#include "shell/pictures.h"

#include "shell/readypictures.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace vorn::pictures {

namespace {

void disc(QPainter& painter, QColor light, QColor dark) {
    QRadialGradient shade(QPointF(12, 11), 18);
    shade.setColorAt(0, light);
    shade.setColorAt(1, dark);
    painter.setPen(QPen(dark.darker(140), 1.0));
    painter.setBrush(shade);
    painter.drawEllipse(QRectF(2, 2, 28, 28));
}

// Blends a soft round fleck into a premultiplied image: each pixel takes the colour in
// proportion to how far inside the rim its centre lies, a one-pixel soft edge. Flecks of a
// few pixels drawn this way cost a small fraction of a painter's antialiased ellipse.
void blendFleck(QImage& image, QPointF centre, qreal radius, QColor colour) {
    const int left = std::max(0, static_cast<int>(std::floor(centre.x() - radius - 0.5)));
    const int top = std::max(0, static_cast<int>(std::floor(centre.y() - radius - 0.5)));
    const int right = std::min(image.width() - 1, static_cast<int>(std::ceil(centre.x() + radius)));
    const int bottom =
        std::min(image.height() - 1, static_cast<int>(std::ceil(centre.y() + radius)));
    const qreal alpha = colour.alphaF();
    const int red = colour.red(), green = colour.green(), blue = colour.blue();
    for (int y = top; y <= bottom; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const qreal dy = y + 0.5 - centre.y();
        for (int x = left; x <= right; ++x) {
            const qreal dx = x + 0.5 - centre.x();
            const qreal cover =
                std::clamp(radius + 0.5 - std::sqrt(dx * dx + dy * dy), 0.0, 1.0) * alpha;
            if (cover <= 0)
                continue;
            const auto mix = [cover](int below, int over) {
                return static_cast<int>(below + (over - below) * cover + 0.5);
            };
            const QRgb under = line[x];
            line[x] = qRgba(mix(qRed(under), red), mix(qGreen(under), green),
                            mix(qBlue(under), blue), mix(qAlpha(under), 255));
        }
    }
}

} // namespace

QImage drawnTexture(QSize pixels) {
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    const qreal width = pixels.width(), height = pixels.height();
    {
        QPainter painter(&image);
        fillDiagonal(
            painter, QRectF(0, 0, width, height),
            {{0, QColor(24, 62, 140)}, {0.5, QColor(36, 86, 176)}, {1, QColor(18, 48, 118)}});
    }
    PictureNoise noise(0x5eed);
    for (int i = 0; i < 260; ++i) {
        const qreal x = noise.next() * width;
        const qreal y = noise.next() * height;
        const qreal r = 1.0 + noise.next() * 3.0;
        const bool light = noise.next() > 0.5;
        blendFleck(image, QPointF(x, y), r,
                   light ? QColor(120, 170, 255, 40) : QColor(0, 10, 60, 50));
    }
    return image;
}

void blueTexture(QPainter& painter, const QRectF& target) {
    // The texture is a 100 x 100 pixel picture stretched to whatever it covers, built into the
    // program (or drawn at that size). What it is drawn into is kept, not the texture itself.
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, ready::texture());
    painter.restore();
}

void closeIcon(QPainter& painter, const QRectF& target) {
    const PictureGrid grid(painter, target, 32, 32);
    disc(painter, QColor(255, 90, 80), QColor(180, 0, 0));
    QPen cross(Qt::white, 4.0, Qt::SolidLine, Qt::RoundCap);
    painter.setPen(cross);
    painter.drawLine(QPointF(10.5, 10.5), QPointF(21.5, 21.5));
    painter.drawLine(QPointF(21.5, 10.5), QPointF(10.5, 21.5));
}

void infoIcon(QPainter& painter, const QRectF& target) {
    const PictureGrid grid(painter, target, 32, 32);
    disc(painter, QColor(70, 110, 220), QColor(10, 30, 120));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(14, 7, 4, 4));
    QPainterPath stem;
    stem.addRoundedRect(QRectF(14, 13, 4, 12), 1, 1);
    stem.addRect(QRectF(12, 13, 4, 2));
    stem.addRect(QRectF(12, 23, 8, 2));
    stem.setFillRule(Qt::WindingFill); // overlapping parts stay filled
    painter.drawPath(stem.simplified());
}

void spannerIcon(QPainter& painter, const QRectF& target) {
    const PictureGrid grid(painter, target, 32, 32);
    painter.translate(16, 16);
    painter.rotate(-45);
    QPainterPath tool;
    tool.addRoundedRect(QRectF(-2.5, -4, 5, 18), 2.5, 2.5); // handle
    QPainterPath head;
    head.addEllipse(QPointF(0, -9), 6.5, 6.5);
    QPainterPath jaw;
    jaw.addRect(QRectF(-2.2, -17, 4.4, 8));
    QPainterPath spanner = tool.united(head).subtracted(jaw);
    QLinearGradient metal(QPointF(-6, 0), QPointF(6, 0));
    metal.setColorAt(0, QColor(200, 200, 205));
    metal.setColorAt(0.5, QColor(150, 150, 158));
    metal.setColorAt(1, QColor(95, 95, 102));
    painter.setPen(QPen(QColor(60, 60, 66), 0.8));
    painter.setBrush(metal);
    painter.drawPath(spanner);
}

void exitIcon(QPainter& painter, const QRectF& target) {
    const PictureGrid grid(painter, target, 32, 32);
    // A pale wall on the left, where red letters read well, and the door on the right.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(236, 230, 214));
    painter.drawRect(QRectF(0, 2, 32, 29));
    painter.setPen(QPen(QColor(90, 60, 30), 1.0));
    painter.setBrush(QColor(150, 110, 60));
    painter.drawRect(QRectF(14, 3, 17, 27));
    painter.setBrush(QColor(20, 20, 30));
    painter.drawRect(QRectF(16.5, 5.5, 12, 24.5));
    // The figure walking out, in white.
    painter.translate(5, 0);
    painter.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(18, 10), 2.2, 2.2);
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(QPointF(17, 13), QPointF(15.5, 20)); // body
    painter.drawPolyline(QPolygonF{QPointF(15.5, 20), QPointF(19, 24), QPointF(21, 28)});
    painter.drawPolyline(QPolygonF{QPointF(15.5, 20), QPointF(13, 24), QPointF(10.5, 26)});
    painter.drawPolyline(QPolygonF{QPointF(16.8, 14.5), QPointF(20.5, 17), QPointF(23, 15.5)});
    painter.drawPolyline(QPolygonF{QPointF(16.8, 14.5), QPointF(13, 17), QPointF(11.5, 19.5)});
}

} // namespace vorn::pictures
