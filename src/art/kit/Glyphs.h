#pragma once

#include <QColor>
#include <QPointF>
#include <QRectF>

class QPainter;

namespace tivora::art {

// One-colour symbols fitted into a size x size box around a centre.
enum class Glyph { Diamond, Star, Magnifier, Play, Arrow, Square, Tv, Folder };

void drawGlyph(QPainter& p, Glyph glyph, const QPointF& c, qreal s, const QColor& colour);

// Sprocket holes along both edges with frames between; proportions follow the strip height.
void drawFilmStrip(QPainter& p, const QRectF& strip, int holeAlpha, int frameAlpha);

}  // namespace tivora::art
