#pragma once

#include <cmath>

namespace tivora {

// Geometry is kept in twips as single-precision values and only rounded when placed on screen.
inline constexpr float kTwipsPerPixel = 15.0F;

[[nodiscard]] inline int twipsToPixels(float twips) {
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

[[nodiscard]] inline float pixelsToTwips(int pixels) {
    return static_cast<float>(pixels) * kTwipsPerPixel;
}

}  // namespace tivora
