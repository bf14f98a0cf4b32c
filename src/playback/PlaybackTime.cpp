#include "playback/PlaybackTime.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace tivora::playback {

QString formatTime(double seconds) {
    const qlonglong whole =
        std::isfinite(seconds) && seconds > 0 ? static_cast<qlonglong>(std::floor(seconds)) : 0;
    const QChar zero(u'0');
    return u"%1:%2:%3"_s.arg(whole / 3600, 2, 10, zero)
        .arg(whole / 60 % 60, 2, 10, zero)
        .arg(whole % 60, 2, 10, zero);
}

}  // namespace tivora::playback
