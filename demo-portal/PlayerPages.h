#pragma once

#include "demo-portal/Film.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tivora::demo {

// Pages that play: a film filling its window, and live TV with a channel list. Both hand the film
// to the client's own player when the page is given its player object ("tivora"), and play it in
// the page otherwise.
class PlayerPages final {
public:
    PlayerPages() = delete;

    struct Channel {
        std::string_view name;
        std::string_view programme;
        std::string_view video;   // address of the looping sample
        std::string_view filter;  // CSS filter that gives the channel its own look
    };

    // What a film plays: its address, how a page without the client's player shows it, and the
    // subtitle files that go with it.
    struct FilmMedia {
        enum class Kind { Video, Hls, RealMedia };
        std::string_view video;
        Kind kind = Kind::Video;
        std::vector<std::string_view> subtitles;
    };

    [[nodiscard]] static const std::vector<Channel>& channels();
    [[nodiscard]] static const FilmMedia& mediaOf(const Film& film);
    // Served media file name endings and their content types.
    [[nodiscard]] static const std::vector<std::pair<std::string_view, std::string_view>>&
    mediaTypes();
    [[nodiscard]] static std::string playPage(const Film& film);
    // channel counts from 0; out of range shows the first.
    [[nodiscard]] static std::string tvPage(std::size_t channel);

    static constexpr std::string_view featureVideo = "/media/feature.webm";
    static constexpr std::string_view hdVideo = "/media/hd.mp4";
    static constexpr std::string_view hlsVideo = "/media/stream.m3u8";
    static constexpr std::string_view realVideo = "/media/classic.rm";
    static constexpr std::string_view hdSubtitles = "/media/hd.zh.srt";
};

}  // namespace tivora::demo
