#include "art/ServerConnectPicture.h"

#include "art/kit/Gloss.h"
#include "art/kit/Glyphs.h"
#include "art/kit/Palette.h"
#include "art/kit/Text.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRect>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tivora::art {
namespace {

using namespace Qt::StringLiterals;

// Where the program lays its two browser panes over the connection picture; the notice
// pane sits on top where they overlap.
constexpr QRect kNoticePane(240, 96, 185, 113);
constexpr QRect kStatusPane(272, 192, 145, 89);
constexpr qreal kConnectTitle = 28;

// Outline of both panes together, grown by grow pixels on every side.
QPainterPath paneOutline(qreal grow, qreal radius) {
    const QRectF notice = QRectF(kNoticePane).adjusted(-grow, -grow, grow, grow);
    const QRectF status = QRectF(kStatusPane).adjusted(-grow, -grow, grow, grow);
    return roundedPath(notice, radius).united(roundedPath(status, radius));
}

void drawGlobe(QPainter& p, const QPointF& c, qreal radius) {
    p.save();
    QRadialGradient fill(c - QPointF(radius * 0.35, radius * 0.4), radius * 1.5);
    fill.setColorAt(0.0, tone(0x74b4f2));
    fill.setColorAt(0.55, tone(0x2f74c6));
    fill.setColorAt(1.0, tone(kEdge));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawEllipse(c, radius, radius);

    QPainterPath disc;
    disc.addEllipse(c, radius, radius);
    p.setClipPath(disc, Qt::IntersectClip);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(tone(kWhite, 140), 1.4));
    for (const qreal k : {0.38, 0.76}) {
        p.drawEllipse(c, radius * k, radius);
    }
    p.drawLine(QPointF(c.x(), c.y() - radius), QPointF(c.x(), c.y() + radius));
    // Parallels bow downwards a little, as on a globe seen from just above.
    for (const qreal k : {-0.5, 0.0, 0.5}) {
        const qreal y = c.y() + radius * k;
        const qreal half = radius * std::sqrt(1 - k * k);
        QPainterPath parallel;
        parallel.moveTo(c.x() - half, y);
        parallel.quadTo(c.x(), y + radius * 0.16, c.x() + half, y);
        p.drawPath(parallel);
    }
    QRadialGradient sheen(c - QPointF(radius * 0.38, radius * 0.45), radius * 0.75);
    sheen.setColorAt(0.0, tone(kWhite, 120));
    sheen.setColorAt(1.0, tone(kWhite, 0));
    p.fillRect(QRectF(c.x() - radius, c.y() - radius, 2 * radius, 2 * radius), sheen);
    p.restore();

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(tone(kWhite), 2.5));
    p.drawEllipse(c, radius, radius);
    p.setPen(QPen(tone(kEdge, 150), 1));
    p.drawEllipse(c, radius + 1.75, radius + 1.75);
}

// Broadcast arcs on both sides of centre, brightest nearest to it.
void drawSignalArcs(QPainter& p, const QPointF& c, qreal radius) {
    for (int i = 0; i < 3; ++i) {
        const qreal r = radius + 11 + 10 * i;
        const QRectF box(c.x() - r, c.y() - r, 2 * r, 2 * r);
        const QPen pen(tone(kDeep, 220 - 60 * i), 3.5, Qt::SolidLine, Qt::RoundCap);
        for (const qreal start : {22.0, 113.0}) {
            QPainterPath arc;
            arc.arcMoveTo(box, start);
            arc.arcTo(box, start, 45);
            p.strokePath(arc, pen);
        }
    }
}

// Loading dots: a bright head fading back along its trail.
void drawProgressDots(QPainter& p, const QPointF& centre, int count, qreal spacing) {
    p.save();
    p.setPen(Qt::NoPen);
    const qreal left = centre.x() - spacing * (count - 1) / 2.0;
    for (int i = 0; i < count; ++i) {
        const int lit = std::max(0, 4 - std::abs(i - 3));
        p.setBrush(lit > 0 ? tone(kDeep, 70 + 46 * lit) : tone(kSky, 110));
        const qreal radius = lit == 4 ? 3.2 : 2.5;
        p.drawEllipse(QPointF(left + spacing * i, centre.y()), radius, radius);
    }
    p.restore();
}

}  // namespace

void paintServerConnect(QPainter& p, const QRectF& r) {
    const QRectF outer = r.adjusted(0.5, 0.5, -0.5, -0.5);
    const QPainterPath window = roundedPath(outer, 5);

    p.save();
    p.setClipPath(window);

    // Body: pale sky with a soft glow behind the globe and quiet waves along the bottom.
    QLinearGradient base(r.topLeft(), r.bottomLeft());
    base.setColorAt(0.0, tone(kMist));
    base.setColorAt(0.6, tone(0xe6f1fc));
    base.setColorAt(1.0, tone(0xcfe3f8));
    p.fillRect(r, base);
    QRadialGradient glow(QPointF(118, 124), 150);
    glow.setColorAt(0.0, tone(kWhite, 230));
    glow.setColorAt(1.0, tone(kWhite, 0));
    p.fillRect(r, glow);

    // A faint film strip running down the free right-hand side.
    p.save();
    p.translate(482, 170);
    p.rotate(80);
    const QRectF strip(-200, -26, 400, 52);
    p.fillRect(strip, tone(0x5a9ee6, 18));
    drawFilmStrip(p, strip, 110, 40);
    p.restore();

    const qreal w = r.width();
    const qreal h = r.height();
    for (int i = 0; i < 3; ++i) {
        const qreal y0 = h * (0.80 + 0.06 * i);
        const qreal amp = 10.0 - 2 * i;
        QPainterPath crest;
        crest.moveTo(0, y0);
        crest.cubicTo(w * 0.28, y0 - amp, w * 0.52, y0 + amp, w, y0 - amp * 0.4);
        QPainterPath body = crest;
        body.lineTo(w, h);
        body.lineTo(0, h);
        body.closeSubpath();
        p.fillPath(body, tone(kSky, 30 + 10 * i));
        p.strokePath(crest, QPen(tone(kWhite, 140), 1.2));
    }

    // Title strip.
    const QRectF title(r.left(), r.top(), r.width(), kConnectTitle);
    QLinearGradient band(title.topLeft(), title.bottomLeft());
    band.setColorAt(0.0, tone(0x5595de));
    band.setColorAt(0.48, tone(0x3277c8));
    band.setColorAt(0.52, tone(0x2668ba));
    band.setColorAt(1.0, tone(kDeep));
    p.fillRect(title, band);
    p.fillRect(QRectF(title.left(), title.top() + 1, title.width(), 1), tone(kWhite, 90));
    p.fillRect(QRectF(title.left(), title.bottom() - 1, title.width(), 1), tone(kEdge));
    p.fillRect(QRectF(title.left(), title.bottom(), title.width(), 1), tone(kWhite, 160));
    p.restore();

    // Logo mark and caption.
    const QRectF mark(8.5, 5.5, 18, 18);
    p.setPen(QPen(tone(kWhite, 210), 1.2));
    p.setBrush(tone(kWhite, 45));
    p.drawRoundedRect(mark, 4.5, 4.5);
    drawGlyph(p, Glyph::Play, mark.center() + QPointF(0.5, 0), 9, tone(kWhite));
    const QFont caption = cjkFont(14);
    const QRect captionInk = inkBounds(caption, u"服务器连接"_s);
    drawCentredText(p, QPointF(34 + captionInk.width() / 2.0, kConnectTitle / 2), u"服务器连接"_s,
                    caption, tone(kWhite), tone(kNavy, 150));

    // Connecting motif on the left.
    const QPointF globe(118, 122);
    drawSignalArcs(p, globe, 38);
    drawGlobe(p, globe, 38);
    drawCentredText(p, QPointF(118, 200), u"正在连接服务器，请稍候…"_s, cjkFont(14), tone(kDeep),
                    tone(kWhite, 200));
    drawCentredText(p, QPointF(118, 223), u"Tivora 影视点播"_s, mixedFont(12), tone(0x5b81ad));
    drawProgressDots(p, QPointF(118, 247), 9, 11);

    // A light card round the panes so they sit in the window rather than on it.
    const QPainterPath card = paneOutline(4, 4);
    p.fillPath(paneOutline(4, 4).translated(0, 2), tone(kNavy, 22));
    p.fillPath(paneOutline(5, 5).translated(0, 1), tone(kNavy, 14));
    QLinearGradient cardFill(QPointF(0, kNoticePane.top() - 4),
                             QPointF(0, kStatusPane.bottom() + 5));
    cardFill.setColorAt(0.0, tone(kWhite));
    cardFill.setColorAt(1.0, tone(kPale));
    p.fillPath(card, cardFill);
    p.strokePath(card, QPen(tone(0x9fc2ea), 1));
    p.fillRect(kStatusPane, tone(kWhite));
    p.fillRect(kNoticePane, tone(kWhite));
    p.strokePath(paneOutline(0.5, 0), QPen(tone(0xb9d3f0), 1));

    // Tab carrying the notice caption, joined to the card's top edge.
    const QRectF tab(kNoticePane.left() - 3.5, 77.5, 46, 15);
    QPainterPath tabShape = roundedPath(tab.adjusted(0, 0, 0, 6), 4);
    tabShape = tabShape.intersected([&] {
        QPainterPath keep;
        keep.addRect(tab.adjusted(-1, -1, 1, 0.5));
        return keep;
    }());
    QLinearGradient tabFill(tab.topLeft(), tab.bottomLeft());
    tabFill.setColorAt(0.0, tone(0x4a8bd8));
    tabFill.setColorAt(1.0, tone(kDeep));
    p.fillPath(tabShape, tabFill);
    p.strokePath(tabShape, QPen(tone(kEdge), 1));
    drawCentredText(p, tab.center() + QPointF(0, 0.5), u"公告"_s, cjkFont(12), tone(kWhite),
                    tone(kNavy, 140));

    QFont small = latinFont(9);
    small.setBold(false);
    const QString copyright = u"\u00a9 Tivora"_s;
    const QRect copyInk = inkBounds(small, copyright);
    drawCentredText(p, QPointF(r.right() - 10 - copyInk.width() / 2.0, r.bottom() - 8), copyright,
                    small, tone(0x6a8db5));

    // The window frame: borderless, so the picture draws its own edge.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(tone(kWhite, 110), 1));
    p.drawPath(roundedPath(outer.adjusted(1, kConnectTitle, -1, -1), 4));
    p.setPen(QPen(tone(kEdge), 1));
    p.drawPath(window);
}

}  // namespace tivora::art
