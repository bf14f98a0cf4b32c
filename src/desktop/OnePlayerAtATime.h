#pragma once

#include <QObject>
#include <QPointer>

#include <vector>

namespace tivora {

class PlayerControl;

// Only one film plays at a time: when one of the players it knows starts playing, the others
// pause.
class OnePlayerAtATime final : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    void add(PlayerControl* player);

private:
    void follow(PlayerControl* player);

    std::vector<QPointer<PlayerControl>> players_;
    QPointer<PlayerControl> playing_;
    // Asked to pause; until the pause shows they still report playing.
    std::vector<QPointer<PlayerControl>> pausing_;
};

}  // namespace tivora
