#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

namespace tivora::test {

// Makes a RealMedia file with ffmpeg: RealVideo 2 and RealAudio 1 (14.4K), a test pattern (or one
// colour) and a tone. Empty on success, else why not.
[[nodiscard]] QString makeRealMedia(const QString& path, int seconds, const QString& colour = {});

struct VideoSpec {
    int seconds = 3;
    bool picture = true;  // else sound only
    QSize size{320, 240};
    // One tone per audio track, tagged with these languages ("" leaves a track untagged).
    QStringList audioLanguages{QString()};
    // One text subtitle track per language, each saying its language all along.
    QStringList subtitleLanguages;
};

// Makes an H.264 video with ffmpeg, in MP4 or Matroska by the path's suffix. Empty on success,
// else why not.
[[nodiscard]] QString makeVideo(const QString& path, const VideoSpec& spec);

}  // namespace tivora::test
