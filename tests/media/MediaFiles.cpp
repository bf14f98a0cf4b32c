#include "media/MediaFiles.h"

#include <QFile>
#include <QFileInfo>
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

QString makeVideo(const QString& path, const VideoSpec& spec) {
    const QString ffmpeg = QStandardPaths::findExecutable(u"ffmpeg"_s);
    if (ffmpeg.isEmpty()) {
        return u"ffmpeg is not installed (scripts/bootstrap.sh installs it)"_s;
    }
    const QString seconds = QString::number(spec.seconds);
    QStringList inputs;
    QStringList maps;
    QStringList tags;
    int input = 0;
    if (spec.picture) {
        inputs << u"-f"_s << u"lavfi"_s << u"-i"_s
               << u"testsrc=size=%1x%2:rate=25"_s.arg(spec.size.width()).arg(spec.size.height());
        maps << u"-map"_s << u"0:v"_s;
        ++input;
    }
    for (qsizetype i = 0; i < spec.audioLanguages.size(); ++i, ++input) {
        inputs << u"-f"_s << u"lavfi"_s << u"-i"_s
               << u"sine=frequency=%1:sample_rate=8000"_s.arg(440 + 110 * i);
        maps << u"-map"_s << u"%1:a"_s.arg(input);
        if (!spec.audioLanguages.at(i).isEmpty()) {
            tags << u"-metadata:s:a:%1"_s.arg(i) << u"language="_s + spec.audioLanguages.at(i);
        }
    }
    for (qsizetype i = 0; i < spec.subtitleLanguages.size(); ++i, ++input) {
        const QString srt = path + u".%1.srt"_s.arg(i);
        QFile text(srt);
        const QByteArray line =
            "1\n00:00:00,000 --> 00:%1,000\n" + spec.subtitleLanguages.at(i).toUtf8() + "\n";
        const QByteArray end = QByteArray::number(spec.seconds / 60).rightJustified(2, '0') + ':' +
                               QByteArray::number(spec.seconds % 60).rightJustified(2, '0');
        if (!text.open(QIODevice::WriteOnly) ||
            text.write(QByteArray(line).replace("%1", end)) < 0) {
            return u"cannot write "_s + srt;
        }
        text.close();
        inputs << u"-i"_s << srt;
        maps << u"-map"_s << u"%1:s"_s.arg(input);
        tags << u"-metadata:s:s:%1"_s.arg(i) << u"language="_s + spec.subtitleLanguages.at(i);
    }
    const bool mp4 = QFileInfo(path).suffix().compare(u"mp4"_s, Qt::CaseInsensitive) == 0;
    QProcess process;
    process.start(ffmpeg,
                  QStringList{u"-hide_banner"_s, u"-loglevel"_s, u"error"_s, u"-y"_s} + inputs +
                      maps + tags +
                      QStringList{u"-t"_s, seconds, u"-c:v"_s, u"libx264"_s, u"-preset"_s,
                                  u"ultrafast"_s, u"-pix_fmt"_s, u"yuv420p"_s, u"-c:a"_s, u"aac"_s,
                                  u"-c:s"_s, mp4 ? u"mov_text"_s : u"srt"_s, path});
    const bool made = process.waitForFinished(60000) && process.exitCode() == 0;
    // Named after the video, they would load with it as its own subtitle files.
    for (qsizetype i = 0; i < spec.subtitleLanguages.size(); ++i) {
        QFile::remove(path + u".%1.srt"_s.arg(i));
    }
    if (!made) {
        return u"ffmpeg could not make a video: "_s +
               QString::fromLocal8Bit(process.readAllStandardError());
    }
    return {};
}

}  // namespace tivora::test
