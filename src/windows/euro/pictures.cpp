#include "euro/pictures.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>

#include <array>

namespace vorn::pictures {

namespace {

constexpr qreal kGrid = 512.0;
constexpr qreal kRiverBank = 300.0;
constexpr QColor kRoofColour{26, 22, 48};
constexpr QColor kLampColour{255, 206, 120};

void paintSky(QPainter& painter) {
    QLinearGradient sky(QPointF(0, 0), QPointF(0, kRiverBank));
    sky.setColorAt(0.0, QColor(8, 12, 40));
    sky.setColorAt(0.45, QColor(28, 38, 92));
    sky.setColorAt(0.75, QColor(82, 58, 112));
    sky.setColorAt(1.0, QColor(196, 104, 92));
    painter.fillRect(QRectF(0, 0, kGrid, kRiverBank), sky);

    // The glow of the city low on the horizon.
    QRadialGradient glow(QPointF(200, kRiverBank), 260);
    glow.setColorAt(0, QColor(255, 150, 90, 110));
    glow.setColorAt(1, QColor(255, 150, 90, 0));
    painter.fillRect(QRectF(0, 0, kGrid, kRiverBank), glow);

    QRandomGenerator stars(0x0e0a57u);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 140; ++i) {
        const QPointF at(stars.bounded(kGrid), stars.bounded(210.0));
        const qreal radius = 0.4 + stars.bounded(1.1);
        painter.setBrush(QColor(255, 255, 235, 90 + stars.bounded(150)));
        painter.drawEllipse(at, radius, radius);
    }

    // A crescent moon: a pale disc with the sky's shadow cut out of it.
    QPainterPath moon;
    moon.addEllipse(QPointF(262, 104), 9, 9);
    QPainterPath shadow;
    shadow.addEllipse(QPointF(266, 100), 8, 8);
    QRadialGradient halo(QPointF(262, 104), 26);
    halo.setColorAt(0, QColor(255, 250, 220, 70));
    halo.setColorAt(1, QColor(255, 250, 220, 0));
    painter.setBrush(halo);
    painter.drawEllipse(QPointF(262, 104), 26, 26);
    painter.setBrush(QColor(250, 244, 214));
    painter.drawPath(moon.subtracted(shadow));
}

// The tower, lit in gold, standing on the bank between the roofs.
void paintTower(QPainter& painter) {
    const qreal cx = 165;
    QPainterPath half;
    half.moveTo(cx, 58);
    half.lineTo(cx - 2.5, 96);
    half.quadTo(cx - 6, 180, cx - 14, 196);
    half.quadTo(cx - 22, 250, cx - 40, kRiverBank);
    half.lineTo(cx, kRiverBank);
    half.closeSubpath();
    QPainterPath tower = half.united(half * QTransform(-1, 0, 0, 1, 2 * cx, 0));
    QPainterPath arch;
    arch.addEllipse(QPointF(cx, kRiverBank + 4), 19, 36);
    tower = tower.subtracted(arch);

    QLinearGradient gold(QPointF(cx - 40, 0), QPointF(cx + 40, 0));
    gold.setColorAt(0, QColor(150, 86, 20));
    gold.setColorAt(0.5, QColor(236, 170, 60));
    gold.setColorAt(1, QColor(130, 72, 18));
    painter.setPen(Qt::NoPen);
    painter.setBrush(gold);
    painter.drawPath(tower);

    // The lattice, as fine darker cross-bracing clipped to the silhouette.
    painter.save();
    painter.setClipPath(tower);
    painter.setPen(QPen(QColor(90, 48, 10, 160), 0.8));
    for (qreal y = 70; y < kRiverBank; y += 9) {
        painter.drawLine(QPointF(cx - 45, y), QPointF(cx + 45, y + 9));
        painter.drawLine(QPointF(cx + 45, y), QPointF(cx - 45, y + 9));
    }
    painter.restore();

    // Its two platforms and the beacon at the top.
    painter.setBrush(QColor(255, 214, 120));
    painter.drawRect(QRectF(cx - 22, 234, 44, 4));
    painter.drawRect(QRectF(cx - 13, 190, 26, 3));
    QRadialGradient beacon(QPointF(cx, 58), 10);
    beacon.setColorAt(0, QColor(255, 255, 230, 230));
    beacon.setColorAt(1, QColor(255, 255, 230, 0));
    painter.setBrush(beacon);
    painter.drawEllipse(QPointF(cx, 58), 10, 10);
}

// One block of houses: its left edge, width, roof height and number of window columns.
struct Block {
    qreal left;
    qreal width;
    qreal top;
    int columns;
};

constexpr std::array kBlocks{
    Block{0, 70, 232, 5},   Block{66, 52, 214, 4},  Block{200, 60, 222, 4}, Block{256, 84, 206, 6},
    Block{336, 58, 228, 4}, Block{390, 70, 212, 5}, Block{456, 56, 236, 4},
};

void paintRoofs(QPainter& painter) {
    QRandomGenerator lit(0x0b10c5u);
    for (const Block& block : kBlocks) {
        // A mansard roof above a straight façade.
        QPainterPath house;
        house.moveTo(block.left, kRiverBank);
        house.lineTo(block.left, block.top + 14);
        house.lineTo(block.left + 6, block.top);
        house.lineTo(block.left + block.width - 6, block.top);
        house.lineTo(block.left + block.width, block.top + 14);
        house.lineTo(block.left + block.width, kRiverBank);
        house.closeSubpath();
        painter.setPen(Qt::NoPen);
        painter.setBrush(kRoofColour);
        painter.drawPath(house);

        const qreal step = block.width / block.columns;
        for (int column = 0; column < block.columns; ++column) {
            for (qreal y = block.top + 22; y < kRiverBank - 10; y += 14) {
                if (lit.bounded(100) < 45)
                    continue;
                QColor lamp = kLampColour;
                lamp.setAlpha(140 + lit.bounded(110));
                painter.setBrush(lamp);
                painter.drawRect(QRectF(block.left + column * step + step * 0.3, y, step * 0.4, 6));
            }
        }
    }
}

void paintRiver(QPainter& painter) {
    QLinearGradient water(QPointF(0, kRiverBank), QPointF(0, kGrid));
    water.setColorAt(0, QColor(40, 36, 80));
    water.setColorAt(1, QColor(6, 10, 30));
    painter.fillRect(QRectF(0, kRiverBank, kGrid, kGrid - kRiverBank), water);

    // The lights of the bank, broken into ripples on the water.
    QRandomGenerator ripples(0x5e1eu);
    for (int i = 0; i < 220; ++i) {
        const qreal x = ripples.bounded(kGrid);
        const qreal y = kRiverBank + 4 + ripples.bounded(kGrid - kRiverBank - 4);
        const qreal fade = 1.0 - (y - kRiverBank) / (kGrid - kRiverBank);
        QColor lamp = kLampColour;
        lamp.setAlphaF(static_cast<float>(0.15 + 0.5 * fade));
        painter.setPen(QPen(lamp, 1.2));
        painter.drawLine(QPointF(x, y), QPointF(x + 4 + ripples.bounded(10.0), y));
    }

    // A stone bridge across the river, its arches open on the water.
    QPainterPath bridge;
    bridge.addRect(QRectF(0, 380, kGrid, 22));
    for (int arch = 0; arch < 5; ++arch) {
        QPainterPath opening;
        opening.addEllipse(QPointF(52 + arch * 104, 408), 40, 22);
        bridge = bridge.subtracted(opening);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(54, 46, 70));
    painter.drawPath(bridge);
    painter.setBrush(kLampColour);
    for (qreal x = 26; x < kGrid; x += 52)
        painter.drawEllipse(QPointF(x, 377), 2.2, 2.2);
}

} // namespace

void nightScene(QPainter& painter, const QRectF& target) {
    const PictureGrid grid(painter, target, kGrid, kGrid);
    painter.setClipRect(QRectF(0, 0, kGrid, kGrid), Qt::IntersectClip);
    paintSky(painter);
    paintTower(painter);
    paintRoofs(painter);
    paintRiver(painter);
}

} // namespace vorn::pictures
