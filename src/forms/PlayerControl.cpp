#include "forms/PlayerControl.h"

#include "forms/FormError.h"

using namespace Qt::StringLiterals;

namespace tivora {

PlayerControl::~PlayerControl() = default;

void PlayerControl::invoke(int dispId, const QVariant& argument) {
    switch (dispId) {
        case kDispStop:
            stop();
            return;
        case kDispSource:
            setSource(argument.toString());
            return;
        case kDispPlay:
            play();
            return;
        default:
            throw FormError(u"Unknown player dispatch identifier %1"_s.arg(dispId));
    }
}

}  // namespace tivora
