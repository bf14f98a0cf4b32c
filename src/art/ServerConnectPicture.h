#pragma once

#include <QRectF>

class QPainter;

namespace tivora::art {

// Start-up window that connects to the portal server.
void paintServerConnect(QPainter& p, const QRectF& r);

}  // namespace tivora::art
