#include "clock/pictures.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <array>

namespace vorn::pictures {

namespace {

constexpr qreal kGridWidth = 320;
constexpr qreal kGridHeight = 240;
constexpr qreal kHorizon = 132;

// A ridge as its outline from left to right; the shape is closed down to `base`.
QPainterPath ridge(std::initializer_list<QPointF> outline, qreal base) {
    QPainterPath path;
    auto it = outline.begin();
    path.moveTo(it->x(), base);
    for (; it != outline.end(); ++it)
        path.lineTo(*it);
    path.lineTo((outline.end() - 1)->x(), base);
    path.closeSubpath();
    return path;
}

void sky(QPainter& painter) {
    QLinearGradient blue(0, 0, 0, kHorizon);
    blue.setColorAt(0, QColor(64, 124, 200));
    blue.setColorAt(0.65, QColor(150, 196, 236));
    blue.setColorAt(1, QColor(226, 236, 240));
    painter.fillRect(QRectF(0, 0, kGridWidth, kHorizon), blue);

    QRadialGradient glow(QPointF(46, 40), 46);
    glow.setColorAt(0, QColor(255, 250, 210, 230));
    glow.setColorAt(0.3, QColor(255, 236, 160, 120));
    glow.setColorAt(1, QColor(255, 236, 160, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(glow);
    painter.drawEllipse(QPointF(46, 40), 46, 46);
    painter.setBrush(QColor(255, 246, 196));
    painter.drawEllipse(QPointF(46, 40), 13, 13);
}

// A cloud as a row of overlapping puffs: centre, half width, half height.
struct Puff {
    qreal x, y, rx, ry;
};

void clouds(QPainter& painter) {
    constexpr std::array kPuffs{
        Puff{214, 58, 26, 10}, Puff{238, 50, 20, 13}, Puff{262, 57, 24, 10}, Puff{190, 62, 16, 7},
        Puff{118, 30, 18, 6},  Puff{136, 26, 14, 8},  Puff{152, 31, 16, 5},  Puff{296, 24, 18, 6},
    };
    painter.setPen(Qt::NoPen);
    for (const Puff& p : kPuffs) {
        QRadialGradient soft(QPointF(p.x, p.y - p.ry / 3), std::max(p.rx, p.ry));
        soft.setColorAt(0, QColor(255, 255, 255, 235));
        soft.setColorAt(0.7, QColor(250, 252, 255, 190));
        soft.setColorAt(1, QColor(240, 246, 252, 0));
        painter.setBrush(soft);
        painter.drawEllipse(QPointF(p.x, p.y), p.rx, p.ry);
    }
}

void mountains(QPainter& painter) {
    // Far range, hazy blue; a low saddle in the middle keeps the 12 o'clock tick on the sky.
    const QPainterPath far = ridge({{0, 96},
                                    {34, 80},
                                    {58, 68},
                                    {80, 84},
                                    {104, 100},
                                    {132, 108},
                                    {160, 98},
                                    {192, 80},
                                    {212, 74},
                                    {240, 90},
                                    {270, 84},
                                    {300, 96},
                                    {320, 92}},
                                   kHorizon);
    QLinearGradient haze(0, 66, 0, kHorizon);
    haze.setColorAt(0, QColor(120, 138, 172));
    haze.setColorAt(1, QColor(168, 184, 206));
    painter.setPen(Qt::NoPen);
    painter.setBrush(haze);
    painter.drawPath(far);

    // Snow on the two high peaks.
    painter.setBrush(QColor(246, 248, 252));
    painter.drawPath(ridge({{44, 75}, {58, 68}, {72, 78}, {64, 77}, {58, 81}, {51, 77}}, 80));
    painter.drawPath(ridge({{200, 78}, {212, 74}, {226, 82}, {218, 80}, {211, 84}, {205, 80}}, 84));

    // Near hills, darker, meeting the water.
    const QPainterPath near = ridge({{0, 112},
                                     {30, 104},
                                     {62, 114},
                                     {96, 124},
                                     {140, 128},
                                     {184, 122},
                                     {222, 110},
                                     {256, 106},
                                     {290, 114},
                                     {320, 108}},
                                    kHorizon + 2);
    QLinearGradient forest(0, 104, 0, kHorizon);
    forest.setColorAt(0, QColor(62, 96, 92));
    forest.setColorAt(1, QColor(44, 74, 70));
    painter.setBrush(forest);
    painter.drawPath(near);
}

void lake(QPainter& painter) {
    QLinearGradient water(0, kHorizon, 0, 200);
    water.setColorAt(0, QColor(132, 168, 204));
    water.setColorAt(0.5, QColor(82, 126, 178));
    water.setColorAt(1, QColor(54, 96, 150));
    painter.setPen(Qt::NoPen);
    painter.setBrush(water);
    painter.drawRect(QRectF(0, kHorizon, kGridWidth, 70));

    // Light on the water below the sun and a few ripples.
    painter.setPen(QPen(QColor(236, 242, 250, 150), 1.0, Qt::SolidLine, Qt::RoundCap));
    constexpr std::array kRipples{
        QLineF(34, 138, 58, 138),   QLineF(40, 144, 54, 144),   QLineF(28, 151, 48, 151),
        QLineF(108, 142, 126, 142), QLineF(170, 150, 194, 150), QLineF(140, 162, 152, 162),
        QLineF(220, 140, 236, 140), QLineF(96, 170, 112, 170),  QLineF(206, 172, 222, 172),
    };
    for (const QLineF& ripple : kRipples)
        painter.drawLine(ripple);
}

void meadow(QPainter& painter) {
    // Shores curving in from both sides, then the foreground grass.
    const QPainterPath shore = [] {
        QPainterPath path;
        path.moveTo(0, 146);
        path.cubicTo(30, 148, 56, 170, 70, 188);
        path.cubicTo(120, 196, 200, 196, 236, 186);
        path.cubicTo(254, 168, 290, 150, 320, 148);
        path.lineTo(kGridWidth, kGridHeight);
        path.lineTo(0, kGridHeight);
        path.closeSubpath();
        return path;
    }();
    QLinearGradient grass(0, 146, 0, kGridHeight);
    grass.setColorAt(0, QColor(112, 164, 74));
    grass.setColorAt(1, QColor(58, 112, 40));
    painter.setPen(QPen(QColor(70, 104, 52), 1.0));
    painter.setBrush(grass);
    painter.drawPath(shore);

    // Flowers scattered in the foreground.
    constexpr std::array kFlowers{
        QPointF(84, 204),  QPointF(102, 212), QPointF(128, 206), QPointF(150, 216),
        QPointF(176, 204), QPointF(198, 212), QPointF(222, 202), QPointF(118, 222),
        QPointF(164, 226), QPointF(92, 228),
    };
    painter.setPen(Qt::NoPen);
    for (std::size_t i = 0; i < kFlowers.size(); ++i) {
        painter.setBrush(i % 3 == 0 ? QColor(250, 236, 120) : QColor(250, 250, 246));
        painter.drawEllipse(kFlowers[i], 1.6, 1.6);
    }
}

// A fir tree standing on `foot`, `height` tall.
struct Fir {
    qreal x, foot, height;
};

void firs(QPainter& painter) {
    constexpr std::array kFirs{
        Fir{12, 176, 46},  Fir{28, 168, 36},  Fir{44, 182, 40},  Fir{6, 200, 52},
        Fir{256, 174, 40}, Fir{270, 166, 32}, Fir{250, 196, 48},
    };
    for (const Fir& fir : kFirs) {
        const qreal w = fir.height * 0.36;
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(86, 60, 40));
        painter.drawRect(QRectF(fir.x - 1.5, fir.foot - 6, 3, 6));
        QPainterPath crown;
        crown.moveTo(fir.x, fir.foot - fir.height);
        crown.lineTo(fir.x + w, fir.foot - 5);
        crown.lineTo(fir.x - w, fir.foot - 5);
        crown.closeSubpath();
        QLinearGradient shade(fir.x - w, 0, fir.x + w, 0);
        shade.setColorAt(0, QColor(36, 90, 46));
        shade.setColorAt(1, QColor(22, 62, 34));
        painter.setBrush(shade);
        painter.drawPath(crown);
    }
}

} // namespace

void landscape(QPainter& painter, const QRectF& target) {
    const PictureGrid grid(painter, target, kGridWidth, kGridHeight);
    painter.setClipRect(QRectF(0, 0, kGridWidth, kGridHeight), Qt::IntersectClip);
    sky(painter);
    clouds(painter);
    mountains(painter);
    lake(painter);
    meadow(painter);
    firs(painter);
}

} // namespace vorn::pictures
