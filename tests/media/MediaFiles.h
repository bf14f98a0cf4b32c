#pragma once

#include <QString>

namespace tivora::test {

// Makes a RealMedia file with ffmpeg: RealVideo 2 and RealAudio 1 (14.4K), a test pattern (or one
// colour) and a tone. Empty on success, else why not.
[[nodiscard]] QString makeRealMedia(const QString& path, int seconds, const QString& colour = {});

}  // namespace tivora::test
