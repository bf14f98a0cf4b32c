#include "art/kit/Text.h"

#include "art/kit/Palette.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <algorithm>

namespace tivora::art {

using namespace Qt::StringLiterals;

QFont cjkFont(int pixelSize, bool bold) {
    QFont f(u"AR PL UMing CN"_s);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

QFont mixedFont(int pixelSize) {
    QFont f = cjkFont(pixelSize);
    f.setFamilies({u"DejaVu Sans"_s, u"AR PL UMing CN"_s});
    return f;
}

QFont latinFont(int pixelSize) {
    QFont f(u"DejaVu Sans"_s);
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(pixelSize);
    f.setBold(true);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

QRect inkBounds(const QFont& font, const QString& text) {
    const QFontMetrics fm(font);
    const int pad = font.pixelSize() + 2;
    QImage probe(fm.horizontalAdvance(text) + 2 * pad, fm.height() + 2 * pad,
                 QImage::Format_ARGB32_Premultiplied);
    probe.fill(Qt::transparent);
    const QPoint origin(pad, pad + fm.ascent());
    {
        QPainter p(&probe);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(origin, text);
    }
    int left = probe.width();
    int right = -1;
    int top = probe.height();
    int bottom = -1;
    for (int y = 0; y < probe.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(probe.constScanLine(y));
        for (int x = 0; x < probe.width(); ++x) {
            if (qAlpha(line[x]) > 48) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0) {
        return {};
    }
    return {QPoint(left, top) - origin, QPoint(right, bottom) - origin};
}

void drawCentredText(QPainter& p, const QPointF& centre, const QString& text, const QFont& font,
                     const QColor& colour, const QColor& shadow) {
    const QRect ink = inkBounds(font, text);
    const QPoint origin(qRound(centre.x() - (ink.left() + ink.right() + 1) / 2.0),
                        qRound(centre.y() - (ink.top() + ink.bottom() + 1) / 2.0));
    p.setFont(font);
    if (shadow.isValid()) {
        p.setPen(shadow);
        p.drawText(origin + QPoint(0, 1), text);
    }
    p.setPen(colour);
    p.drawText(origin, text);
}

void drawLabel(QPainter& p, const QPointF& centre, const QString& text, int pixelSize) {
    drawCentredText(p, centre, text, cjkFont(pixelSize), tone(kWhite), tone(kNavy, 150));
}

}  // namespace tivora::art
