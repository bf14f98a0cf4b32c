#pragma once

#include <QColor>

namespace tivora::art {

// One blue-and-white theme shared by every picture.
inline constexpr QRgb kDeep = 0x1f5fae;
inline constexpr QRgb kEdge = 0x164a8c;
inline constexpr QRgb kNavy = 0x0c2c58;
inline constexpr QRgb kSky = 0x86bdf0;
inline constexpr QRgb kPale = 0xdbeafa;
inline constexpr QRgb kMist = 0xf4f9ff;
inline constexpr QRgb kWhite = 0xffffff;

[[nodiscard]] QColor tone(QRgb rgb, int alpha = 255);

}  // namespace tivora::art
