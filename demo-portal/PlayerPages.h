#pragma once

#include "demo-portal/Film.h"

#include <string>
#include <string_view>
#include <vector>

namespace tivora::demo {

// Pages that play: a film filling its window, and live TV with a channel list.
class PlayerPages final {
public:
    PlayerPages() = delete;

    struct Channel {
        std::string_view name;
        std::string_view programme;
        std::string_view video;   // address of the looping sample
        std::string_view filter;  // CSS filter that gives the channel its own look
    };

    [[nodiscard]] static const std::vector<Channel>& channels();
    [[nodiscard]] static std::string playPage(const Film& film);
    // channel counts from 0; out of range shows the first.
    [[nodiscard]] static std::string tvPage(std::size_t channel);

    static constexpr std::string_view featureVideo = "/media/feature.webm";
};

}  // namespace tivora::demo
