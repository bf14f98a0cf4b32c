#pragma once

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRect>
#include <QString>

class QPainter;

namespace tivora::art {

// Synthetic bold keeps the thin Ming strokes readable at 12-14 px.
[[nodiscard]] QFont cjkFont(int pixelSize, bool bold = true);

// Latin from a sans face, Chinese from the Ming face, for lines that mix both.
[[nodiscard]] QFont mixedFont(int pixelSize);

[[nodiscard]] QFont latinFont(int pixelSize);

// Pixels text really covers, relative to its baseline origin. CJK font metrics are too loose
// to centre two- and four-glyph labels by, so the text is probed once on a scratch image.
[[nodiscard]] QRect inkBounds(const QFont& font, const QString& text);

// Text with its ink centred on centre, snapped to whole pixels so strokes stay sharp.
void drawCentredText(QPainter& p, const QPointF& centre, const QString& text, const QFont& font,
                     const QColor& colour, const QColor& shadow = QColor());

void drawLabel(QPainter& p, const QPointF& centre, const QString& text, int pixelSize);

}  // namespace tivora::art
