#include "art/kit/Palette.h"

namespace tivora::art {

QColor tone(QRgb rgb, int alpha) {
    QColor c = QColor::fromRgb(rgb);
    c.setAlpha(alpha);
    return c;
}

}  // namespace tivora::art
