#pragma once

#include <QPainterPath>
#include <QRectF>
#include <QRgb>

class QPainter;

namespace tivora::art {

// Four stops give the two-tone "glass" look: a bright upper half and a deeper lower half.
struct Gloss {
    QRgb top;
    QRgb upper;
    QRgb lower;
    QRgb bottom;
    QRgb border;
};

inline constexpr Gloss kButtonGloss{0x6eaff0, 0x3f87d8, 0x2266ba, 0x2d74c8, 0x15498c};
inline constexpr Gloss kBarGloss{0x4c82c6, 0x2b5f9f, 0x194884, 0x21538f, 0x0a2a55};
inline constexpr Gloss kCaptionGloss{0x3a4d68, 0x2a3b53, 0x1f2d42, 0x1a2638, 0x0b1420};

[[nodiscard]] QPainterPath roundedPath(const QRectF& r, qreal radius);

void glossyButton(QPainter& p, const QRectF& r, qreal radius, const Gloss& g);

// A full-width bar whose ends may be stretched, so it carries no end caps.
void glossyBar(QPainter& p, const QRectF& r);

void tabStrip(QPainter& p, const QRectF& r);

}  // namespace tivora::art
