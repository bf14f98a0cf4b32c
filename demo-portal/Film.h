#pragma once

#include <string>
#include <vector>

namespace tivora::demo {

// One film of the catalogue; text is UTF-8.
struct Film {
    int id = 0;
    std::string title;
    int year = 0;
    std::string genre;
    std::string region;
    std::string director;
    std::vector<std::string> actors;
    int minutes = 0;
    double rating = 0.0;
    std::string description;
    std::string colorTop;  // poster gradient, "#rrggbb"
    std::string colorBottom;
    std::string motif;  // what the poster draws
};

}  // namespace tivora::demo
