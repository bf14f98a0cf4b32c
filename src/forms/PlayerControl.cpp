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

QList<MediaTrack> PlayerControl::tracks() const {
    return {};
}

bool PlayerControl::selectTrack(MediaTrack::Kind /*kind*/, int /*id*/) {
    return false;
}

bool PlayerControl::addSubtitleFile(const QString& /*path*/) {
    return false;
}

void PlayerControl::setSubtitleDelay(double /*seconds*/) {}

double PlayerControl::subtitleDelay() const {
    return 0;
}

void PlayerControl::setSubtitleEncoding(const QString& /*encoding*/) {}

QString PlayerControl::subtitleEncoding() const {
    return {};
}

bool PlayerControl::setSpeed(double /*rate*/) {
    return false;
}

double PlayerControl::speed() const {
    return 1;
}

void PlayerControl::stepFrame(bool /*forward*/) {}

bool PlayerControl::saveScreenshot(const QString& /*path*/) {
    return false;
}

void PlayerControl::setHardwareDecoding(bool /*on*/) {}

bool PlayerControl::hardwareDecoding() const {
    return false;
}

void PlayerControl::showMessage(const QString& /*text*/) {}

QString PlayerControl::mediaTitle() const {
    return {};
}

}  // namespace tivora
