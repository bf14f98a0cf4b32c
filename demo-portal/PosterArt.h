#pragma once

#include "demo-portal/Film.h"

#include <string>

namespace tivora::demo {

// Draws a film's poster as SVG: its gradient, its motif and its title.
class PosterArt final {
public:
    PosterArt() = delete;

    static constexpr int width = 300;
    static constexpr int height = 400;

    [[nodiscard]] static std::string svg(const Film& film);

private:
    [[nodiscard]] static std::string motif(const Film& film);
    [[nodiscard]] static std::string sparkles(int seed);
};

}  // namespace tivora::demo
