#include "art/MainWindowPictures.h"

#include "art/kit/Gloss.h"
#include "art/kit/Palette.h"
#include "art/kit/Text.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>

#include <array>
#include <cmath>
#include <cstddef>
#include <numbers>

namespace tivora::art {
namespace {

using namespace Qt::StringLiterals;

void drawReel(QPainter& p, const QPointF& c, qreal radius) {
    QRadialGradient fill(c - QPointF(radius * 0.35, radius * 0.4), radius * 1.4);
    fill.setColorAt(0.0, tone(0x5da2ec));
    fill.setColorAt(1.0, tone(kEdge));
    p.setPen(QPen(tone(kWhite), 2));
    p.setBrush(fill);
    p.drawEllipse(c, radius, radius);
    p.setPen(Qt::NoPen);
    p.setBrush(tone(kWhite, 235));
    for (int i = 0; i < 5; ++i) {
        const qreal angle = -std::numbers::pi / 2 + i * 2 * std::numbers::pi / 5;
        const QPointF hole(c.x() + radius * 0.62 * std::cos(angle),
                           c.y() + radius * 0.62 * std::sin(angle));
        p.drawEllipse(hole, radius * 0.17, radius * 0.17);
    }
    drawGlyph(p, Glyph::Play, c, radius * 0.5, tone(kWhite));
}

}  // namespace

void paintBackdrop(QPainter& p, const QRectF& r) {
    const qreal w = r.width();
    const qreal h = r.height();
    QLinearGradient base(r.topLeft(), r.bottomLeft());
    base.setColorAt(0.0, tone(kMist));
    base.setColorAt(0.55, tone(0xe4f0fc));
    base.setColorAt(1.0, tone(0xc9e0f7));
    p.fillRect(r, base);

    QRadialGradient glow(QPointF(w * 0.22, h * 0.12), w * 0.6);
    glow.setColorAt(0.0, tone(kWhite, 220));
    glow.setColorAt(1.0, tone(kWhite, 0));
    p.fillRect(r, glow);

    // A faint film strip drifting across the upper right.
    p.save();
    p.translate(w * 0.7, h * 0.2);
    p.rotate(-12);
    const QRectF strip(-w, -34, w * 2, 68);
    p.fillRect(strip, tone(0x5a9ee6, 22));
    drawFilmStrip(p, strip, 120, 45);
    p.restore();

    // Layered waves along the bottom.
    const std::array<qreal, 3> levels{0.70, 0.78, 0.87};
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const qreal y0 = h * levels[i];
        const qreal amp = h * (0.06 - 0.012 * static_cast<qreal>(i));
        QPainterPath crest;
        crest.moveTo(0, y0);
        crest.cubicTo(w * 0.28, y0 - amp, w * 0.52, y0 + amp, w, y0 - amp * 0.4);
        QPainterPath body = crest;
        body.lineTo(w, h);
        body.lineTo(0, h);
        body.closeSubpath();
        p.fillPath(body, tone(kSky, 34 + 10 * static_cast<int>(i)));
        p.strokePath(crest, QPen(tone(kWhite, 150), 1.5));
    }
}

void paintColumn(QPainter& p, const QRectF& r) {
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0.0, tone(0xeef6ff));
    fill.setColorAt(0.6, tone(0xd9e9fa));
    fill.setColorAt(1.0, tone(0xc4dbf5));
    p.fillRect(r, fill);
    p.fillRect(QRectF(r.left(), r.top(), 1, r.height()), tone(0xa6c6ea));
    p.fillRect(QRectF(r.left() + 1, r.top(), 1, r.height()), tone(kWhite, 150));
}

void paintMenuButton(QPainter& p, const QRectF& r) {
    glossyButton(p, r, 4, kButtonGloss);

    const QPointF face(12, 12);
    p.setPen(QPen(tone(kEdge), 0.8));
    p.setBrush(tone(kWhite));
    p.drawEllipse(face, 6.8, 6.8);
    p.setPen(Qt::NoPen);
    p.setBrush(tone(kDeep));
    p.drawEllipse(QPointF(9.7, 10.2), 1.1, 1.3);
    p.drawEllipse(QPointF(14.3, 10.2), 1.1, 1.3);
    QPainterPath smile;
    smile.moveTo(8.6, 13.0);
    smile.quadTo(12, 17.2, 15.4, 13.0);
    p.strokePath(smile, QPen(tone(kDeep), 1.3, Qt::SolidLine, Qt::RoundCap));

    drawLabel(p, QPointF(36, 12), u"菜单"_s, 12);

    p.setPen(Qt::NoPen);
    p.setBrush(tone(kWhite));
    p.drawPolygon(QPolygonF{QPointF(53.5, 10.5), QPointF(60.5, 10.5), QPointF(57, 14.5)});
}

void paintTab(QPainter& p, const QRectF& r, Glyph glyph, bool selected) {
    tabStrip(p, r);
    const QPointF centre(r.center().x(), r.center().y() + (selected ? 1.5 : 0));
    if (selected) {
        // Rounded top corners only; the bottom runs off the picture into the list below.
        const QRectF tab(r.left() + 1.5, r.top() + 2.5, r.width() - 3, r.height() + 6);
        QLinearGradient fill(tab.topLeft(), QPointF(tab.left(), r.bottom()));
        fill.setColorAt(0.0, tone(kWhite));
        fill.setColorAt(1.0, tone(kPale));
        p.setPen(QPen(tone(kEdge), 1));
        p.setBrush(fill);
        p.drawRoundedRect(tab, 4, 4);
        drawGlyph(p, glyph, centre, 13, tone(kDeep));
    } else {
        p.fillRect(QRectF(r.right() - 1, r.top() + 5, 1, r.height() - 10), tone(kEdge, 170));
        p.fillRect(QRectF(r.left(), r.top() + 5, 1, r.height() - 10), tone(kWhite, 70));
        drawGlyph(p, glyph, centre + QPointF(0, 1), 13, tone(kNavy, 90));
        drawGlyph(p, glyph, centre, 13, tone(kWhite));
    }
}

void paintSearchButton(QPainter& p, const QRectF& r) {
    glossyButton(p, r, 4, kButtonGloss);
    drawGlyph(p, Glyph::Magnifier, QPointF(11.5, 12), 10, tone(kWhite));
    drawLabel(p, QPointF(30.5, 12), u"搜索"_s, 12);
}
void paintWelcomePicture(QPainter& p, const QRectF& r) {
    drawReel(p, QPointF(33, r.center().y()), 27);

    // The wordmark is filled as a path so it can carry a gradient and a soft outline.
    const QString name = u"Tivora"_s;
    const QFont nameFont = latinFont(32);
    QPainterPath word;
    word.addText(0, 0, nameFont, name);
    const QRectF ink = word.boundingRect();
    word.translate(std::round(70 - ink.left()), std::round(40 - ink.bottom()));
    QLinearGradient fill(0, 40 - ink.height(), 0, 40);
    fill.setColorAt(0.0, tone(0x3d8ae0));
    fill.setColorAt(1.0, tone(kEdge));
    p.strokePath(word, QPen(tone(kWhite, 220), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.fillPath(word, fill);

    drawCentredText(p, QPointF(153, 55), u"欢迎使用 Tivora 影视点播"_s, mixedFont(12),
                    tone(0x2a5f9e));
}

void paintBar(QPainter& p, const QRectF& r) {
    glossyBar(p, r);
}

void paintBarButton(QPainter& p, const QRectF& r, const QString& label) {
    glossyButton(p, r, 3, kBarGloss);
    drawLabel(p, r.center(), label, 12);
}

void paintCaption(QPainter& p, const QRectF& r) {
    glossyButton(p, r, 5, kCaptionGloss);
}

void paintWelcomeButton(QPainter& p, const QRectF& r, Glyph glyph, const QString& label) {
    glossyButton(p, r, 8, kButtonGloss);
    const QPointF badge(32, r.center().y());
    p.setPen(QPen(tone(kWhite, 110), 1));
    p.setBrush(tone(kWhite, 45));
    p.drawEllipse(badge, 19, 19);
    drawGlyph(p, glyph, badge + QPointF(0, 1), 22, tone(kNavy, 80));
    drawGlyph(p, glyph, badge, 22, tone(kWhite));
    drawLabel(p, QPointF(100, r.center().y()), label, 18);
}

void paintRoundButton(QPainter& p, const QRectF& r, Glyph glyph) {
    glossyButton(p, r, r.width() / 2, kButtonGloss);
    drawGlyph(p, glyph, r.center() + QPointF(0, 1), 13, tone(kNavy, 80));
    drawGlyph(p, glyph, r.center(), 13, tone(kWhite));
}

}  // namespace tivora::art
