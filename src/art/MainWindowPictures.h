#pragma once

#include "art/kit/Glyphs.h"

#include <QRectF>
#include <QString>

class QPainter;

namespace tivora::art {

void paintBackdrop(QPainter& p, const QRectF& r);
void paintColumn(QPainter& p, const QRectF& r);
void paintMenuButton(QPainter& p, const QRectF& r);
void paintTab(QPainter& p, const QRectF& r, Glyph glyph, bool selected);
void paintSearchButton(QPainter& p, const QRectF& r);
void paintWelcomePicture(QPainter& p, const QRectF& r);
void paintBar(QPainter& p, const QRectF& r);
void paintBarButton(QPainter& p, const QRectF& r, const QString& label);
void paintCaption(QPainter& p, const QRectF& r);
void paintWelcomeButton(QPainter& p, const QRectF& r, Glyph glyph, const QString& label);
void paintRoundButton(QPainter& p, const QRectF& r, Glyph glyph);

}  // namespace tivora::art
