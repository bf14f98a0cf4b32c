#include "desktop/OnePlayerAtATime.h"

#include "forms/PlayerControl.h"

#include <algorithm>

namespace tivora {

void OnePlayerAtATime::add(PlayerControl* player) {
    std::erase_if(players_, [](const QPointer<PlayerControl>& p) { return p.isNull(); });
    players_.emplace_back(player);
    connect(player, &PlayerControl::stateChanged, this, [this, player] { follow(player); });
}

void OnePlayerAtATime::follow(PlayerControl* player) {
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
        }
    }
}

}  // namespace tivora
