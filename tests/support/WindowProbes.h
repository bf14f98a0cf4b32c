#pragma once

#include "player/PlayerWindow.h"
#include "server/UpdateWindow.h"

#include <QTimer>

namespace tivora::test {

// What only tests look at inside the player window: its timers and the controls it owns.
class PlayerWindowProbe {
public:
    explicit PlayerWindowProbe(const PlayerWindow& window) : window_(window) {}

    [[nodiscard]] QTimer* timer1() const { return window_.timer1_; }
    [[nodiscard]] QTimer* timer2() const { return window_.timer2_; }
    [[nodiscard]] FileListBox* fileList() const { return window_.list_; }
    [[nodiscard]] PlayerControl* player() const { return window_.player_; }
    [[nodiscard]] PlayerSurface* playerSurface() const { return window_.surface_; }
    [[nodiscard]] FileDialog* fileDialog() const { return window_.dialog_.get(); }
    [[nodiscard]] const SettingsFile& settingsFile() const { return window_.settingsFile(); }

private:
    const PlayerWindow& window_;
};

class UpdateWindowProbe {
public:
    explicit UpdateWindowProbe(const UpdateWindow& window) : window_(window) {}

    [[nodiscard]] QTimer* timer1() const { return window_.timer1_; }

private:
    const UpdateWindow& window_;
};

inline PlayerWindowProbe probe(const PlayerWindow& window) {
    return PlayerWindowProbe(window);
}

inline UpdateWindowProbe probe(const UpdateWindow& window) {
    return UpdateWindowProbe(window);
}

}  // namespace tivora::test
