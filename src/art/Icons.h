#pragma once

#include <QRectF>

class QPainter;

namespace tivora::art {

void paintAppIcon(QPainter& p, const QRectF& r);
void paintPlayerIcon(QPainter& p, const QRectF& r);

}  // namespace tivora::art
