#include "scene.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>

namespace {

constexpr double kHorizon = 150;
constexpr double kBottom = kMainPictureHeight;
constexpr double kVanishX = 222;
// Where the rails leave the picture at the bottom edge.
constexpr double kLeftRailX = 150;
constexpr double kRightRailX = 330;

// x of a line from the vanishing point to bottomX, at height y.
double towardsBottom(double bottomX, double y)
{
    const double t = (y - kHorizon) / (kBottom - kHorizon);
    return kVanishX + (bottomX - kVanishX) * t;
}

void paintSky(QPainter &p)
{
    QLinearGradient sky(0, 0, 0, kHorizon);
    sky.setColorAt(0, QColor(0x6F, 0xA8, 0xDC));
    sky.setColorAt(1, QColor(0xE4, 0xF0, 0xFA));
    p.fillRect(QRectF(0, 0, kMainPictureWidth, kHorizon), sky);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 220));
    p.drawEllipse(QPointF(250, 45), 38, 12);
    p.drawEllipse(QPointF(280, 38), 26, 14);
    p.drawEllipse(QPointF(150, 70), 30, 9);
}

void paintGround(QPainter &p)
{
    QLinearGradient ground(0, kHorizon, 0, kBottom);
    ground.setColorAt(0, QColor(0x8E, 0x9E, 0x6A));
    ground.setColorAt(1, QColor(0x55, 0x66, 0x38));
    p.fillRect(QRectF(0, kHorizon, kMainPictureWidth, kBottom - kHorizon), ground);
}

// Distant hills; the ground painted next hides their lower halves.
void paintHills(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x7E, 0x93, 0xA2));
    p.drawEllipse(QPointF(60, kHorizon), 110, 16);
    p.drawEllipse(QPointF(330, kHorizon), 80, 11);
}

void paintBallast(QPainter &p)
{
    const QPolygonF bed{QPointF(kVanishX - 6, kHorizon), QPointF(kVanishX + 6, kHorizon),
                        QPointF(towardsBottom(kRightRailX + 70, kBottom), kBottom),
                        QPointF(towardsBottom(kLeftRailX - 70, kBottom), kBottom)};
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x8C, 0x86, 0x7C));
    p.drawPolygon(bed);
}

// Sleepers drawn far to near, spaced as in perspective.
void paintSleepers(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x5A, 0x40, 0x2C));
    for (int k = 40; k >= 0; --k) {
        const double y = kHorizon + (kBottom - kHorizon) / (1 + 0.45 * k);
        const double t = (y - kHorizon) / (kBottom - kHorizon);
        const double left = towardsBottom(kLeftRailX - 28, y);
        const double right = towardsBottom(kRightRailX + 28, y);
        const double thickness = qMax(1.0, 11 * t);
        p.drawRect(QRectF(left, y - thickness, right - left, thickness));
    }
}

void paintRails(QPainter &p)
{
    for (double bottomX : {kLeftRailX, kRightRailX}) {
        const QPolygonF rail{QPointF(kVanishX - 0.5, kHorizon), QPointF(kVanishX + 0.5, kHorizon),
                             QPointF(bottomX + 4, kBottom), QPointF(bottomX - 4, kBottom)};
        p.setPen(QPen(QColor(0x30, 0x30, 0x34), 1));
        p.setBrush(QColor(0xB8, 0xBC, 0xC4));
        p.drawPolygon(rail);
    }
}

void paintMast(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x9A, 0x9A, 0x92));
    p.drawPolygon(
        QPolygonF{QPointF(52, 282), QPointF(96, 282), QPointF(90, 262), QPointF(58, 262)});
    p.setBrush(QColor(0x70, 0x75, 0x7A));
    p.drawRect(QRectF(69, 170, 10, 94));
    p.setBrush(QColor(0xA8, 0xAD, 0xB2));
    p.drawRect(QRectF(70, 170, 3, 94));
    // Ladder up to the head.
    p.setPen(QPen(QColor(0x40, 0x44, 0x48), 2));
    p.drawLine(QPointF(84, 262), QPointF(84, 176));
    p.drawLine(QPointF(94, 262), QPointF(94, 176));
    for (double y = 256; y > 176; y -= 12)
        p.drawLine(QPointF(84, y), QPointF(94, y));
}

void paintLamp(QPainter &p, const QPointF &centre, const QColor &colour, bool lit)
{
    p.setPen(Qt::NoPen);
    if (lit) {
        QRadialGradient glow(centre, 34);
        glow.setColorAt(0, QColor(colour.red(), colour.green(), colour.blue(), 150));
        glow.setColorAt(1, QColor(colour.red(), colour.green(), colour.blue(), 0));
        p.setBrush(glow);
        p.drawEllipse(centre, 34, 34);
    }
    p.setBrush(QColor(0x0C, 0x0C, 0x0C));
    p.drawEllipse(centre, 15, 15);
    p.setBrush(lit ? colour.lighter(130) : colour.darker(330));
    p.drawEllipse(centre, 11, 11);
    p.setBrush(QColor(255, 255, 255, lit ? 200 : 60));
    p.drawEllipse(centre + QPointF(-4, -4), 3, 3);
    // Visor over the lamp.
    p.setPen(QPen(QColor(0x22, 0x22, 0x22), 4, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(centre.x() - 17, centre.y() - 17, 34, 34), 20 * 16, 140 * 16);
}

void paintSignalHead(QPainter &p)
{
    QPainterPath head;
    head.addRoundedRect(QRectF(50, 34, 48, 140), 22, 22);
    p.setPen(QPen(QColor(0xF2, 0xF2, 0xF2), 3));
    p.setBrush(QColor(0x1E, 0x1E, 0x20));
    p.drawPath(head);
    paintLamp(p, QPointF(74, 62), QColor(0xFF, 0x33, 0x22), false);
    paintLamp(p, QPointF(74, 104), QColor(0xFF, 0xC8, 0x1E), false);
    paintLamp(p, QPointF(74, 146), QColor(0x2E, 0xE8, 0x6E), true);
}

// A smaller signal far down the line, showing yellow.
void paintDistantSignal(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x70, 0x75, 0x7A));
    p.drawRect(QRectF(268, 128, 3, 34));
    p.setBrush(QColor(0x1E, 0x1E, 0x20));
    p.drawRoundedRect(QRectF(263, 110, 13, 26), 6, 6);
    p.setBrush(QColor(0xFF, 0xD0, 0x30));
    p.drawEllipse(QPointF(269.5, 117), 3, 3);
}

} // namespace

QImage drawMainPicture()
{
    QImage image(kMainPictureWidth, kMainPictureHeight, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    paintSky(p);
    paintHills(p);
    paintGround(p);
    paintBallast(p);
    paintSleepers(p);
    paintRails(p);
    paintDistantSignal(p);
    paintMast(p);
    paintSignalHead(p);
    return image;
}
