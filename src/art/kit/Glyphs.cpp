#include "art/kit/Glyphs.h"

#include "art/kit/Gloss.h"
#include "art/kit/Palette.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tivora::art {
namespace {

QPainterPath starPath(const QPointF& c, qreal outer, qreal inner) {
    QPolygonF points;
    for (int i = 0; i < 10; ++i) {
        const qreal radius = (i % 2 == 0) ? outer : inner;
        const qreal angle = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
        points << QPointF(c.x() + radius * std::cos(angle), c.y() + radius * std::sin(angle));
    }
    QPainterPath path;
    path.addPolygon(points);
    path.closeSubpath();
    return path;
}

// Triangle pointing right with its centroid on c, which reads as optically centred.
QPainterPath playPath(const QPointF& c, qreal size) {
    const qreal h = size;
    const qreal w = size * 0.87;
    QPainterPath path;
    path.moveTo(c.x() - w / 3, c.y() - h / 2);
    path.lineTo(c.x() + 2 * w / 3, c.y());
    path.lineTo(c.x() - w / 3, c.y() + h / 2);
    path.closeSubpath();
    return path;
}

QPainterPath folderPath(const QPointF& c, qreal s) {
    const QRectF body(c.x() - s / 2, c.y() - s * 0.28, s, s * 0.68);
    QPainterPath path;
    path.addRoundedRect(body, s * 0.06, s * 0.06);
    QPainterPath tab;
    tab.addRoundedRect(QRectF(body.left(), body.top() - s * 0.12, s * 0.42, s * 0.2), s * 0.05,
                       s * 0.05);
    path = path.united(tab);
    // A play mark cut out of the folder front says "media on this computer".
    return path.subtracted(playPath(QPointF(c.x(), c.y() + s * 0.07), s * 0.34));
}

// Hollow screen with antennas and a stand.
void drawTv(QPainter& p, const QPointF& c, qreal s, const QColor& colour) {
    p.setBrush(colour);
    p.setPen(Qt::NoPen);
    const QRectF screen(c.x() - s / 2, c.y() - s * 0.22, s, s * 0.62);
    QPainterPath frame = roundedPath(screen, s * 0.1);
    frame = frame.subtracted(
        roundedPath(screen.adjusted(s * 0.12, s * 0.12, -s * 0.12, -s * 0.12), s * 0.04));
    p.drawPath(frame);
    p.setPen(QPen(colour, std::max(1.0, s * 0.08), Qt::SolidLine, Qt::RoundCap));
    const QPointF root(c.x(), screen.top());
    p.drawLine(root, QPointF(c.x() - s * 0.24, c.y() - s * 0.48));
    p.drawLine(root, QPointF(c.x() + s * 0.24, c.y() - s * 0.48));
    p.drawLine(QPointF(c.x() - s * 0.2, screen.bottom() + s * 0.08),
               QPointF(c.x() + s * 0.2, screen.bottom() + s * 0.08));
}

}  // namespace

void drawGlyph(QPainter& p, Glyph glyph, const QPointF& c, qreal s, const QColor& colour) {
    p.save();
    p.setBrush(colour);
    p.setPen(Qt::NoPen);
    switch (glyph) {
        case Glyph::Diamond: {
            const qreal h = s / 2;
            p.drawPolygon(QPolygonF{QPointF(c.x(), c.y() - h), QPointF(c.x() + h * 0.82, c.y()),
                                    QPointF(c.x(), c.y() + h), QPointF(c.x() - h * 0.82, c.y())});
            break;
        }
        case Glyph::Star:
            p.drawPath(starPath(QPointF(c.x(), c.y() + s * 0.04), s * 0.55, s * 0.23));
            break;
        case Glyph::Magnifier: {
            const QPointF lens(c.x() - s * 0.1, c.y() - s * 0.1);
            const qreal radius = s * 0.3;
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(colour, s * 0.14));
            p.drawEllipse(lens, radius, radius);
            p.setPen(QPen(colour, s * 0.2, Qt::SolidLine, Qt::RoundCap));
            const qreal edge = radius * std::numbers::sqrt2 / 2 + s * 0.05;
            p.drawLine(lens + QPointF(edge, edge), QPointF(c.x() + s * 0.42, c.y() + s * 0.42));
            break;
        }
        case Glyph::Play:
            p.setPen(QPen(colour, s * 0.08, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPath(playPath(c, s * 0.92));
            break;
        case Glyph::Arrow: {
            const qreal h = s / 2;
            p.drawPolygon(
                QPolygonF{QPointF(c.x() - h, c.y() - s * 0.14), QPointF(c.x(), c.y() - s * 0.14),
                          QPointF(c.x(), c.y() - h * 0.85), QPointF(c.x() + h, c.y()),
                          QPointF(c.x(), c.y() + h * 0.85), QPointF(c.x(), c.y() + s * 0.14),
                          QPointF(c.x() - h, c.y() + s * 0.14)});
            break;
        }
        case Glyph::Square: {
            const qreal side = s * 0.72;
            p.drawRoundedRect(QRectF(c.x() - side / 2, c.y() - side / 2, side, side), s * 0.08,
                              s * 0.08);
            break;
        }
        case Glyph::Tv:
            drawTv(p, c, s * 0.9, colour);
            break;
        case Glyph::Folder:
            p.drawPath(folderPath(c, s));
            break;
    }
    p.restore();
}

void drawFilmStrip(QPainter& p, const QRectF& strip, int holeAlpha, int frameAlpha) {
    const qreal u = strip.height() / 68;
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(tone(kWhite, holeAlpha));
    const int holes = static_cast<int>(strip.width() / (20 * u));
    for (int i = 0; i < holes; ++i) {
        const qreal x = strip.left() + (6 + 20 * i) * u;
        p.drawRoundedRect(QRectF(x, strip.top() + 5 * u, 9 * u, 7 * u), 1.5 * u, 1.5 * u);
        p.drawRoundedRect(QRectF(x, strip.bottom() - 12 * u, 9 * u, 7 * u), 1.5 * u, 1.5 * u);
    }
    const int frames = static_cast<int>((strip.width() - 4 * u) / (80 * u));
    for (int i = 0; i < frames; ++i) {
        p.fillRect(QRectF(strip.left() + (4 + 80 * i) * u, strip.top() + 17 * u, 72 * u,
                          strip.height() - 34 * u),
                   tone(kWhite, frameAlpha));
    }
    p.restore();
}

}  // namespace tivora::art
