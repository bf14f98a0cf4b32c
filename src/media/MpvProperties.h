#pragma once

#include <mpv/client.h>

#include <cstdint>

// The names of mpv's properties the player reads and writes, each written once.
namespace tivora::mpvprop {

inline constexpr const char* kTimePos = "time-pos";
inline constexpr const char* kDuration = "duration";
inline constexpr const char* kVolume = "volume";
inline constexpr const char* kPause = "pause";
inline constexpr const char* kMute = "mute";
inline constexpr const char* kEofReached = "eof-reached";
inline constexpr const char* kSubVisibility = "sub-visibility";
inline constexpr const char* kSubText = "sub-text";
inline constexpr const char* kPath = "path";
inline constexpr const char* kTrackList = "track-list";
inline constexpr const char* kVideoTrack = "vid";
inline constexpr const char* kAudioTrack = "aid";
inline constexpr const char* kSubtitleTrack = "sid";
inline constexpr const char* kSubDelay = "sub-delay";
inline constexpr const char* kSubCodepage = "sub-codepage";
inline constexpr const char* kSpeed = "speed";
inline constexpr const char* kHwdec = "hwdec";
inline constexpr const char* kMediaTitle = "media-title";
inline constexpr const char* kWidth = "width";
inline constexpr const char* kHeight = "height";
inline constexpr const char* kSubAuto = "sub-auto";
inline constexpr const char* kSubFiles = "sub-files";
inline constexpr const char* kVideoLatencyHacks = "video-latency-hacks";

// An observed property, as mpv hands it back in the reply_userdata of its change events.
enum class Observed : std::uint64_t {
    TimePos = 1,
    Duration,
    Volume,
    Pause,
    Mute,
    EofReached,
    TrackList,
    SubDelay,
    Speed,
    MediaTitle,
};

struct ObservedProperty {
    Observed id;
    const char* name;
    mpv_format format;
};

// What the player observes: the core subscribes to each, the player reads each change by its id.
inline constexpr ObservedProperty kObserved[] = {
    {Observed::TimePos, kTimePos, MPV_FORMAT_DOUBLE},
    {Observed::Duration, kDuration, MPV_FORMAT_DOUBLE},
    {Observed::Volume, kVolume, MPV_FORMAT_DOUBLE},
    {Observed::Pause, kPause, MPV_FORMAT_FLAG},
    {Observed::Mute, kMute, MPV_FORMAT_FLAG},
    {Observed::EofReached, kEofReached, MPV_FORMAT_FLAG},
    {Observed::TrackList, kTrackList, MPV_FORMAT_NODE},
    {Observed::SubDelay, kSubDelay, MPV_FORMAT_DOUBLE},
    {Observed::Speed, kSpeed, MPV_FORMAT_DOUBLE},
    {Observed::MediaTitle, kMediaTitle, MPV_FORMAT_STRING},
};

}  // namespace tivora::mpvprop
