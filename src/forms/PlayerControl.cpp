#include "forms/PlayerControl.h"

#include "forms/FormError.h"
#include "forms/Logging.h"

#include <algorithm>
#include <cmath>

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

std::optional<double> PlayerControl::acceptableSpeed(double rate) {
    if (!std::isfinite(rate) || rate <= 0) {
        qCWarning(lcPlayer) << "playback rate" << rate << "refused";
        return std::nullopt;
    }
    const double clamped = std::clamp(rate, kSlowest, kFastest);
    if (clamped != rate) {
        qCWarning(lcPlayer) << "playback rate" << rate << "clamped to" << clamped;
    }
    return clamped;
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

bool PlayerControl::hasStarted() const {
    return hasFile();
}

void PlayerControl::showMessage(const QString& /*text*/) {}

QString PlayerControl::mediaTitle() const {
    return {};
}

}  // namespace tivora
