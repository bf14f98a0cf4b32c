#include "art/kit/Gloss.h"

#include "art/kit/Palette.h"

#include <QLinearGradient>
#include <QPainter>

#include <algorithm>

namespace tivora::art {
namespace {

QLinearGradient glossGradient(const QRectF& r, const Gloss& g) {
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0.0, tone(g.top));
    fill.setColorAt(0.48, tone(g.upper));
    fill.setColorAt(0.52, tone(g.lower));
    fill.setColorAt(1.0, tone(g.bottom));
    return fill;
}

}  // namespace

QPainterPath roundedPath(const QRectF& r, qreal radius) {
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

void glossyButton(QPainter& p, const QRectF& r, qreal radius, const Gloss& g) {
    const QRectF outer = r.adjusted(0.5, 0.5, -0.5, -0.5);
    const QPainterPath shape = roundedPath(outer, radius);
    p.fillPath(shape, glossGradient(outer, g));

    QLinearGradient rim(outer.topLeft(), outer.bottomLeft());
    rim.setColorAt(0.0, tone(kWhite, 170));
    rim.setColorAt(0.5, tone(kWhite, 40));
    rim.setColorAt(1.0, tone(kWhite, 70));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QBrush(rim), 1));
    p.drawPath(roundedPath(outer.adjusted(1, 1, -1, -1), std::max(0.0, radius - 1)));
    p.setPen(QPen(tone(g.border), 1));
    p.drawPath(shape);
}

void glossyBar(QPainter& p, const QRectF& r) {
    p.fillRect(r, glossGradient(r, kBarGloss));
    p.fillRect(QRectF(r.left(), r.top(), r.width(), 1), tone(kNavy));
    p.fillRect(QRectF(r.left(), r.top() + 1, r.width(), 1), tone(kWhite, 90));
    p.fillRect(QRectF(r.left(), r.bottom() - 1, r.width(), 1), tone(kNavy));
}

void tabStrip(QPainter& p, const QRectF& r) {
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0.0, tone(0x64a2e6));
    fill.setColorAt(0.5, tone(0x3d7fce));
    fill.setColorAt(0.52, tone(0x3172c2));
    fill.setColorAt(1.0, tone(0x2464b2));
    p.fillRect(r, fill);
    p.fillRect(QRectF(r.left(), r.top(), r.width(), 1), tone(kWhite, 110));
    p.fillRect(QRectF(r.left(), r.bottom() - 1, r.width(), 1), tone(kEdge));
}

}  // namespace tivora::art
