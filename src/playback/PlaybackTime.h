#pragma once

#include <QString>

namespace tivora::playback {

// "01:02:03" for 3723.4 seconds; negative or unknown times read as zero.
[[nodiscard]] QString formatTime(double seconds);

}  // namespace tivora::playback
