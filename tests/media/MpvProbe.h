#pragma once

#include "media/MpvPlayer.h"
#include "media/MpvVideoWidget.h"

#include <QImage>
#include <QString>

namespace tivora::test {

// What tests ask of mpv itself rather than of the player's last observed state.
class MpvProbe {
public:
    // Seconds into the current file; negative when nothing plays.
    [[nodiscard]] static double position(const MpvPlayer& player) { return player.livePosition(); }
    // The file mpv has open; empty when idle.
    [[nodiscard]] static QString path(const MpvPlayer& player) { return player.openPath(); }
    // The subtitle line on screen now.
    [[nodiscard]] static QString subtitle(const MpvPlayer& player) { return player.subtitleLine(); }
    // Any property as mpv has it now.
    [[nodiscard]] static QString property(const MpvPlayer& player, const char* name) {
        return player.liveProperty(name);
    }
    // What the screen shows in the video area, in device pixels.
    [[nodiscard]] static QImage frame(const MpvVideoWidget& video) { return video.grabFrame(); }
};

}  // namespace tivora::test
