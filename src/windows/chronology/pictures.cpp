#include "chronology/pictures.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdint>

namespace vorn::pictures {

namespace {

// A ridge of dunes across the scene: a wavy top edge at `base`, filled down to the bottom.
QPainterPath dune(qreal base, qreal amplitude, qreal phase, qreal bottom) {
    QPainterPath path(QPointF(0, bottom));
    path.lineTo(0, base);
    const qreal step = 499.0 / 4.0;
    for (int i = 0; i < 4; ++i) {
        const qreal x0 = i * step;
        const qreal lift = ((i + static_cast<int>(phase)) % 2 == 0) ? -amplitude : amplitude;
        path.cubicTo(QPointF(x0 + step * 0.35, base + lift), QPointF(x0 + step * 0.65, base + lift),
                     QPointF(x0 + step, base));
    }
    path.lineTo(499, bottom);
    path.closeSubpath();
    return path;
}

void palm(QPainter& painter, QPointF foot, qreal height, qreal lean) {
    const QColor dark(40, 26, 30);
    const QPointF top(foot.x() + lean, foot.y() - height);
    QPainterPath trunk(foot);
    trunk.quadTo(QPointF(foot.x() + lean * 0.2, foot.y() - height * 0.5), top);
    painter.setPen(QPen(dark, height * 0.06, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(trunk);
    // Fronds: curved blades fanning out from the crown.
    painter.setPen(Qt::NoPen);
    painter.setBrush(dark);
    const qreal reach = height * 0.55;
    const QPointF tips[] = {{-1.0, 0.35}, {-0.8, -0.15}, {-0.3, -0.45}, {0.3, -0.45},
                            {0.8, -0.15}, {1.0, 0.35},   {0.55, 0.55},  {-0.55, 0.55}};
    for (const QPointF& t : tips) {
        const QPointF tip(top.x() + t.x() * reach, top.y() + t.y() * reach);
        const QPointF mid(top.x() + t.x() * reach * 0.5,
                          top.y() + t.y() * reach * 0.5 - reach * 0.18);
        QPainterPath frond(top);
        frond.quadTo(mid + QPointF(0, -reach * 0.06), tip);
        frond.quadTo(mid + QPointF(0, reach * 0.06), top);
        painter.drawPath(frond);
    }
}

// A camel with its rider in silhouette, standing on `foot` (the ground under its legs).
void camel(QPainter& painter, QPointF foot, qreal size) {
    painter.save();
    painter.translate(foot);
    painter.scale(size / 40.0, size / 40.0);
    QPainterPath body;
    body.moveTo(-14, -20);
    body.cubicTo(-12, -30, -2, -32, 2, -24); // hump
    body.cubicTo(5, -22, 9, -24, 11, -26);   // neck rise
    body.cubicTo(13, -32, 16, -34, 19, -33); // head
    body.lineTo(21, -31);
    body.cubicTo(18, -30, 16, -28, 15, -24);
    body.cubicTo(13, -18, 10, -16, 8, -15);
    body.lineTo(-12, -15);
    body.cubicTo(-15, -16, -16, -18, -14, -20);
    painter.drawPath(body);
    // Legs.
    QPen leg(painter.brush().color(), 1.8, Qt::SolidLine, Qt::RoundCap);
    painter.setPen(leg);
    painter.drawLine(QPointF(-11, -16), QPointF(-12, 0));
    painter.drawLine(QPointF(-8, -16), QPointF(-7, 0));
    painter.drawLine(QPointF(4, -16), QPointF(3, 0));
    painter.drawLine(QPointF(7, -16), QPointF(8, 0));
    painter.setPen(Qt::NoPen);
    // The rider, cloaked, on the hump.
    QPainterPath rider;
    rider.moveTo(-6, -27);
    rider.lineTo(-3, -38);
    rider.cubicTo(-2, -41, 1, -41, 1, -38);
    rider.lineTo(3, -26);
    rider.closeSubpath();
    painter.drawPath(rider);
    painter.drawEllipse(QPointF(-1, -41.5), 2.2, 2.2);
    painter.restore();
}

} // namespace

void parchment(QPainter& painter, const QRectF& target) {
    const PictureGrid grid(painter, target, 512, 512);
    const QRectF page(0, 0, 512, 512);
    QLinearGradient base(QPointF(0, 0), QPointF(512, 512));
    base.setColorAt(0, QColor(241, 226, 190));
    base.setColorAt(0.55, QColor(233, 214, 172));
    base.setColorAt(1, QColor(224, 200, 152));
    painter.fillRect(page, base);

    // Stains and lighter patches, soft-edged.
    PictureNoise noise(0xB1B1E);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 70; ++i) {
        const QPointF centre(noise.next() * 512, noise.next() * 512);
        const qreal radius = 12 + noise.next() * 60;
        const bool dark = noise.next() > 0.45;
        QRadialGradient stain(centre, radius);
        const QColor tone = dark ? QColor(150, 110, 60, 34) : QColor(255, 248, 225, 40);
        stain.setColorAt(0, tone);
        stain.setColorAt(1, QColor(tone.red(), tone.green(), tone.blue(), 0));
        painter.setBrush(stain);
        painter.drawEllipse(centre, radius, radius);
    }
    // Fibres of the paper.
    for (int i = 0; i < 160; ++i) {
        const QPointF from(noise.next() * 512, noise.next() * 512);
        const QPointF to = from + QPointF(8 + noise.next() * 26, (noise.next() - 0.5) * 6);
        painter.setPen(QPen(QColor(130, 95, 50, 26), 0.8));
        painter.drawLine(from, to);
    }
    // Edges browned by age.
    QRadialGradient age(QPointF(256, 240), 380);
    age.setColorAt(0.55, QColor(120, 80, 30, 0));
    age.setColorAt(1, QColor(110, 70, 25, 110));
    painter.setPen(Qt::NoPen);
    painter.setBrush(age);
    painter.drawRect(page);
}

void desertScene(QPainter& painter, const QRectF& target) {
    const PictureGrid grid(painter, target, 499, 264);
    painter.setClipRect(QRectF(0, 0, 499, 264));

    // Dusk sky over the desert.
    QLinearGradient sky(QPointF(0, 0), QPointF(0, 170));
    sky.setColorAt(0, QColor(52, 46, 110));
    sky.setColorAt(0.45, QColor(170, 80, 90));
    sky.setColorAt(0.8, QColor(240, 150, 70));
    sky.setColorAt(1, QColor(252, 206, 120));
    painter.fillRect(QRectF(0, 0, 499, 264), sky);

    // A few early stars.
    PictureNoise noise(0x5A11D);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 246, 220, 200));
    for (int i = 0; i < 26; ++i)
        painter.drawEllipse(QPointF(noise.next() * 499, noise.next() * 60), 0.9, 0.9);

    // The setting sun and its glow.
    const QPointF sun(330, 150);
    QRadialGradient glow(sun, 90);
    glow.setColorAt(0, QColor(255, 236, 170, 220));
    glow.setColorAt(0.25, QColor(255, 200, 110, 120));
    glow.setColorAt(1, QColor(255, 160, 80, 0));
    painter.setBrush(glow);
    painter.drawEllipse(sun, 90, 90);
    painter.setBrush(QColor(255, 240, 190));
    painter.drawEllipse(sun, 24, 24);

    // Far mountains.
    QPainterPath mountains(QPointF(0, 170));
    mountains.lineTo(0, 138);
    mountains.lineTo(60, 118);
    mountains.lineTo(105, 132);
    mountains.lineTo(170, 96);
    mountains.lineTo(230, 128);
    mountains.lineTo(270, 120);
    mountains.lineTo(300, 138);
    mountains.lineTo(390, 110);
    mountains.lineTo(450, 130);
    mountains.lineTo(499, 122);
    mountains.lineTo(499, 170);
    mountains.closeSubpath();
    painter.setBrush(QColor(124, 72, 92));
    painter.drawPath(mountains);

    // Dunes, lit from the sun side.
    const struct {
        qreal base, amplitude, phase;
        QColor light, shade;
    } dunes[] = {
        {160, 10, 0, QColor(214, 140, 80), QColor(170, 100, 70)},
        {190, 14, 1, QColor(226, 160, 90), QColor(178, 110, 66)},
        {225, 16, 0, QColor(236, 178, 104), QColor(186, 120, 70)},
    };
    for (const auto& d : dunes) {
        QLinearGradient sand(QPointF(499, d.base - d.amplitude), QPointF(0, d.base + 40));
        sand.setColorAt(0, d.light);
        sand.setColorAt(1, d.shade);
        painter.setBrush(sand);
        painter.drawPath(dune(d.base, d.amplitude, d.phase, 264));
    }

    // A caravan on the middle ridge and palms of an oasis on the left.
    painter.setBrush(QColor(48, 30, 34));
    camel(painter, QPointF(215, 188), 30);
    camel(painter, QPointF(258, 185), 28);
    camel(painter, QPointF(298, 183), 26);
    palm(painter, QPointF(70, 236), 92, 10);
    palm(painter, QPointF(112, 242), 70, -12);
    palm(painter, QPointF(40, 246), 60, -6);

    // A thin dark frame, like a mounted print.
    painter.setClipping(false);
    painter.setPen(QPen(QColor(90, 55, 25), 3));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(1.5, 1.5, 496, 261));
}

} // namespace vorn::pictures
