#include "Artwork.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmapCache>
#include <QPolygonF>
#include <QRadialGradient>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace tivora::art {
namespace {

using namespace Qt::StringLiterals;

// One blue-and-white theme shared by every picture.
constexpr QRgb kDeep = 0x1f5fae;
constexpr QRgb kEdge = 0x164a8c;
constexpr QRgb kNavy = 0x0c2c58;
constexpr QRgb kSky = 0x86bdf0;
constexpr QRgb kPale = 0xdbeafa;
constexpr QRgb kMist = 0xf4f9ff;
constexpr QRgb kWhite = 0xffffff;

QColor tone(QRgb rgb, int alpha = 255) {
    QColor c = QColor::fromRgb(rgb);
    c.setAlpha(alpha);
    return c;
}

// Synthetic bold keeps the thin Ming strokes readable at 12-14 px.
QFont cjkFont(int pixelSize, bool bold = true) {
    QFont f(u"AR PL UMing CN"_s);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

// Latin from a sans face, Chinese from the Ming face, for lines that mix both.
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

// Pixels text really covers, relative to its baseline origin. CJK font metrics are too loose
// to centre two- and four-glyph labels by, so the text is probed once on a scratch image.
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

// Text with its ink centred on centre, snapped to whole pixels so strokes stay sharp.
void drawCentredText(QPainter& p, const QPointF& centre, const QString& text, const QFont& font,
                     const QColor& colour, const QColor& shadow = QColor()) {
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

// Four stops give the two-tone "glass" look: a bright upper half and a deeper lower half.
struct Gloss {
    QRgb top;
    QRgb upper;
    QRgb lower;
    QRgb bottom;
    QRgb border;
};

constexpr Gloss kButtonGloss{0x6eaff0, 0x3f87d8, 0x2266ba, 0x2d74c8, 0x15498c};
constexpr Gloss kBarGloss{0x4c82c6, 0x2b5f9f, 0x194884, 0x21538f, 0x0a2a55};
constexpr Gloss kCaptionGloss{0x3a4d68, 0x2a3b53, 0x1f2d42, 0x1a2638, 0x0b1420};

QLinearGradient glossGradient(const QRectF& r, const Gloss& g) {
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0.0, tone(g.top));
    fill.setColorAt(0.48, tone(g.upper));
    fill.setColorAt(0.52, tone(g.lower));
    fill.setColorAt(1.0, tone(g.bottom));
    return fill;
}

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

// A full-width bar whose ends may be stretched, so it carries no end caps.
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

// ---- Glyphs: one-colour symbols fitted into a size x size box around a centre.

enum class Glyph { Diamond, Star, Magnifier, Play, Arrow, Square, Tv, Folder };

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

// ---- The pictures.

// Sprocket holes along both edges with frames between; proportions follow the strip height.
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

// ---- Start-up window that connects to the portal server.

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

// ---- Registry.

using Painter = void (*)(QPainter&, const QRectF&);

struct Entry {
    QStringView key;
    QSize size;
    Painter paint;
};

const std::array kEntries = std::to_array<Entry>({
    {u"Image1", {800, 600}, paintBackdrop},
    {u"Image2", {257, 485}, paintColumn},
    {u"Image3", {66, 24}, paintMenuButton},
    {u"Image19", {66, 24}, paintMenuButton},
    {u"Image4",
     {40, 26},
     [](QPainter& p, const QRectF& r) { paintTab(p, r, Glyph::Diamond, false); }},
    {u"Image5",
     {40, 26},
     [](QPainter& p, const QRectF& r) { paintTab(p, r, Glyph::Diamond, true); }},
    {u"Image6", {40, 26}, [](QPainter& p, const QRectF& r) { paintTab(p, r, Glyph::Star, false); }},
    {u"Image7", {40, 26}, [](QPainter& p, const QRectF& r) { paintTab(p, r, Glyph::Star, true); }},
    {u"Image8",
     {40, 26},
     [](QPainter& p, const QRectF& r) { paintTab(p, r, Glyph::Magnifier, false); }},
    {u"Image9",
     {40, 26},
     [](QPainter& p, const QRectF& r) { paintTab(p, r, Glyph::Magnifier, true); }},
    {u"Image10", {256, 26}, tabStrip},
    {u"Image11", {48, 24}, paintSearchButton},
    {u"Image12", {240, 70}, paintWelcomePicture},
    {u"Image13", {477, 23}, paintBar},
    {u"Image14",
     {52, 23},
     [](QPainter& p, const QRectF& r) { paintBarButton(p, r, u"加入收藏"_s); }},
    {u"Image15",
     {52, 23},
     [](QPainter& p, const QRectF& r) { paintBarButton(p, r, u"在线直播"_s); }},
    {u"Image16",
     {52, 23},
     [](QPainter& p, const QRectF& r) { paintBarButton(p, r, u"停止播放"_s); }},
    {u"Image17",
     {52, 23},
     [](QPainter& p, const QRectF& r) { paintBarButton(p, r, u"返回大厅"_s); }},
    {u"Image18", {100, 24}, paintCaption},
    {u"Image20",
     {157, 60},
     [](QPainter& p, const QRectF& r) { paintWelcomeButton(p, r, Glyph::Folder, u"本地播放"_s); }},
    {u"Image27",
     {157, 60},
     [](QPainter& p, const QRectF& r) { paintWelcomeButton(p, r, Glyph::Play, u"在线点播"_s); }},
    {u"Image28",
     {157, 60},
     [](QPainter& p, const QRectF& r) { paintWelcomeButton(p, r, Glyph::Tv, u"电视直播"_s); }},
    {u"Image21",
     {30, 30},
     [](QPainter& p, const QRectF& r) { paintRoundButton(p, r, Glyph::Play); }},
    {u"Image22",
     {30, 30},
     [](QPainter& p, const QRectF& r) { paintRoundButton(p, r, Glyph::Star); }},
    {u"Image23",
     {30, 30},
     [](QPainter& p, const QRectF& r) { paintRoundButton(p, r, Glyph::Arrow); }},
    {u"Image24",
     {30, 30},
     [](QPainter& p, const QRectF& r) { paintRoundButton(p, r, Glyph::Square); }},
    {u"Image25",
     {30, 30},
     [](QPainter& p, const QRectF& r) { paintRoundButton(p, r, Glyph::Diamond); }},
    {u"Image26", {30, 30}, [](QPainter& p, const QRectF& r) { paintRoundButton(p, r, Glyph::Tv); }},
    {u"Picture3", {577, 25}, paintBar},
    {u"About", {400, 160}, paintAbout},
    {u"AppIcon", {64, 64}, paintAppIcon},
    {u"PlayerIcon", {64, 64}, paintPlayerIcon},
    {u"ServerConnect", {522, 299}, paintServerConnect},
});

const Entry* findEntry(QStringView key) {
    const auto* it = std::find_if(kEntries.begin(), kEntries.end(),
                                  [key](const Entry& e) { return e.key == key; });
    return it == kEntries.end() ? nullptr : it;
}

QPixmap render(const Entry& entry) {
    QImage image(entry.size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                         QPainter::SmoothPixmapTransform);
        entry.paint(p, QRectF(QPointF(0, 0), QSizeF(entry.size)));
    }
    return QPixmap::fromImage(image);
}

}  // namespace

QPixmap picture(QStringView key) {
    const Entry* entry = findEntry(key);
    if (entry == nullptr) {
        return {};
    }
    QString cacheKey = u"tivora.art/"_s;
    cacheKey += key;
    QPixmap pixmap;
    if (!QPixmapCache::find(cacheKey, &pixmap)) {
        pixmap = render(*entry);
        QPixmapCache::insert(cacheKey, pixmap);
    }
    return pixmap;
}

QSize pictureSize(QStringView key) {
    const Entry* entry = findEntry(key);
    return entry == nullptr ? QSize() : entry->size;
}

QStringList keys() {
    QStringList list;
    list.reserve(static_cast<qsizetype>(kEntries.size()));
    for (const Entry& entry : kEntries) {
        list << entry.key.toString();
    }
    return list;
}

}  // namespace tivora::art
