#include "art/Icons.h"

#include "art/kit/Glyphs.h"
#include "art/kit/Palette.h"
#include "art/kit/Text.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace tivora::art {
namespace {

using namespace Qt::StringLiterals;

// Rounded blue tile shared by both icons.
void iconTile(QPainter& p, const QRectF& r, QRgb top, QRgb bottom) {
    const QRectF tile = r.adjusted(2.5, 2.5, -2.5, -2.5);
    QLinearGradient fill(tile.topLeft(), tile.bottomLeft());
    fill.setColorAt(0.0, tone(top));
    fill.setColorAt(1.0, tone(bottom));
    p.setPen(QPen(tone(kNavy), 1));
    p.setBrush(fill);
    p.drawRoundedRect(tile, 13, 13);

    QPainterPath gloss;
    gloss.addRoundedRect(tile.adjusted(2, 2, -2, -tile.height() * 0.5), 11, 11);
    QLinearGradient shine(tile.topLeft(), QPointF(tile.left(), tile.center().y()));
    shine.setColorAt(0.0, tone(kWhite, 110));
    shine.setColorAt(1.0, tone(kWhite, 10));
    p.fillPath(gloss, shine);
}

}  // namespace

void paintAppIcon(QPainter& p, const QRectF& r) {
    iconTile(p, r, 0x5aa3ee, 0x1a52a0);
    drawGlyph(p, Glyph::Play, QPointF(29, 31) + QPointF(0, 1.5), 28, tone(kNavy, 90));
    drawGlyph(p, Glyph::Play, QPointF(29, 31), 28, tone(kWhite));

    const QPointF badge(48.5, 48.5);
    p.setPen(QPen(tone(kEdge), 1));
    p.setBrush(tone(kWhite));
    p.drawEllipse(badge, 9, 9);
    QPainterPath letter;
    letter.addText(0, 0, latinFont(13), u"T"_s);
    const QRectF ink = letter.boundingRect();
    letter.translate(badge - ink.center());
    p.fillPath(letter, tone(kDeep));
}

void paintPlayerIcon(QPainter& p, const QRectF& r) {
    iconTile(p, r, 0x3f7fcc, 0x123f7a);
    // Sprocket holes down both sides, a film frame between them.
    p.setPen(Qt::NoPen);
    p.setBrush(tone(kWhite, 220));
    for (int i = 0; i < 5; ++i) {
        const qreal y = 10.5 + 9.5 * i;
        p.drawRoundedRect(QRectF(7.5, y, 6, 5), 1.2, 1.2);
        p.drawRoundedRect(QRectF(50.5, y, 6, 5), 1.2, 1.2);
    }
    const QRectF frame(17.5, 12.5, 29, 39);
    QLinearGradient fill(frame.topLeft(), frame.bottomLeft());
    fill.setColorAt(0.0, tone(kWhite));
    fill.setColorAt(1.0, tone(kSky));
    p.setPen(QPen(tone(kNavy, 160), 1));
    p.setBrush(fill);
    p.drawRoundedRect(frame, 3, 3);
    drawGlyph(p, Glyph::Play, frame.center(), 16, tone(kDeep));
}

}  // namespace tivora::art
