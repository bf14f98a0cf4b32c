#pragma once

#include <QRectF>

class QPainter;

namespace tivora::art {

void paintAbout(QPainter& p, const QRectF& r);

}  // namespace tivora::art
