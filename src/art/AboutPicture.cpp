#include "art/AboutPicture.h"

#include "art/kit/Glyphs.h"
#include "art/kit/Palette.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace tivora::art {

void paintAbout(QPainter& p, const QRectF& r) {
    QLinearGradient fill(r.topLeft(), r.bottomRight());
    fill.setColorAt(0.0, tone(0x3479c8));
    fill.setColorAt(1.0, tone(0x174789));
    p.fillRect(r, fill);

    // Soft glass sheen over the upper half.
    QLinearGradient sheen(r.topLeft(), QPointF(r.left(), r.height() * 0.5));
    sheen.setColorAt(0.0, tone(kWhite, 40));
    sheen.setColorAt(1.0, tone(kWhite, 0));
    p.fillRect(QRectF(r.left(), r.top(), r.width(), r.height() * 0.5), sheen);

    // Logo mark in the free space left of the title.
    const QRectF mark(76, 8, 44, 44);
    p.setPen(QPen(tone(kWhite, 200), 2));
    p.setBrush(tone(kWhite, 40));
    p.drawRoundedRect(mark, 10, 10);
    drawGlyph(p, Glyph::Play, mark.center(), 20, tone(kWhite));

    // Faint film strip in the free space right of the title.
    const QRectF strip(262, 12, 122, 34);
    p.fillRect(strip, tone(kWhite, 28));
    drawFilmStrip(p, strip, 70, 36);

    // A quiet pill so the OK label overlaid here reads as a button.
    p.setPen(QPen(tone(kWhite, 100), 1));
    p.setBrush(tone(kWhite, 30));
    p.drawRoundedRect(QRectF(164.5, 125.5, 58, 22), 11, 11);

    // Gentle waves under the button row.
    for (int i = 0; i < 3; ++i) {
        const qreal y0 = 150 + 4 * i;
        QPainterPath wave;
        wave.moveTo(0, y0);
        wave.cubicTo(r.width() * 0.3, y0 - 8, r.width() * 0.6, y0 + 8, r.width(), y0 - 4);
        p.strokePath(wave, QPen(tone(kWhite, 50 - 12 * i), 1.2));
    }

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(tone(kNavy), 1));
    p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
    p.setPen(QPen(tone(kWhite, 70), 1));
    p.drawRect(r.adjusted(1.5, 1.5, -1.5, -1.5));
}

}  // namespace tivora::art
