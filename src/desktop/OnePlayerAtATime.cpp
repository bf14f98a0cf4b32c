#include "desktop/OnePlayerAtATime.h"

#include "forms/PlayerControl.h"

#include <algorithm>

namespace tivora {

void OnePlayerAtATime::add(PlayerControl* player) {
    std::erase_if(players_, [](const QPointer<PlayerControl>& p) { return p.isNull(); });
    std::erase_if(pausing_, [](const QPointer<PlayerControl>& p) { return p.isNull(); });
    players_.emplace_back(player);
    connect(player, &PlayerControl::stateChanged, this, [this, player] { follow(player); });
}

void OnePlayerAtATime::follow(PlayerControl* player) {
    if (const auto asked = std::find(pausing_.begin(), pausing_.end(), player);
        asked != pausing_.end()) {
        if (player->hasFile() && !player->isPaused()) {
            return;  // an earlier state, not a new start
        }
        pausing_.erase(asked);
    }
    if (!player->hasFile() || player->isPaused() || playing_ == player) {
        if (playing_ == player && (!player->hasFile() || player->isPaused())) {
            playing_.clear();
        }
        return;
    }
    playing_ = player;
    for (const QPointer<PlayerControl>& other : players_) {
        if (other && other != player && other->hasFile() && !other->isPaused()) {
            other->setPaused(true);
            if (std::find(pausing_.begin(), pausing_.end(), other) == pausing_.end()) {
                pausing_.push_back(other);
            }
        }
    }
}

}  // namespace tivora
