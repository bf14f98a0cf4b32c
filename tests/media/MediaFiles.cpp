#include "media/MediaFiles.h"

#include <QProcess>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace tivora::test {

QString makeRealMedia(const QString& path, int seconds, const QString& colour) {
    const QString ffmpeg = QStandardPaths::findExecutable(u"ffmpeg"_s);
    if (ffmpeg.isEmpty()) {
        return u"ffmpeg is not installed (scripts/bootstrap.sh installs it)"_s;
    }
    const QString video = colour.isEmpty() ? u"testsrc=size=320x240:rate=25"_s
                                           : u"color=c=%1:size=320x240:rate=25"_s.arg(colour);
    QProcess process;
    process.start(ffmpeg, {u"-hide_banner"_s,
                           u"-loglevel"_s,
                           u"error"_s,
                           u"-y"_s,
                           u"-f"_s,
                           u"lavfi"_s,
                           u"-i"_s,
                           video,
                           u"-f"_s,
                           u"lavfi"_s,
                           u"-i"_s,
                           u"sine=frequency=440:sample_rate=8000"_s,
                           u"-t"_s,
                           QString::number(seconds),
                           u"-c:v"_s,
                           u"rv20"_s,
                           u"-b:v"_s,
                           u"400k"_s,
                           u"-c:a"_s,
                           u"real_144"_s,
                           u"-ac"_s,
                           u"1"_s,
                           u"-ar"_s,
                           u"8000"_s,
                           u"-f"_s,
                           u"rm"_s,
                           path});
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        return u"ffmpeg could not make a RealMedia file: "_s +
               QString::fromLocal8Bit(process.readAllStandardError());
    }
    return {};
}

}  // namespace tivora::test
