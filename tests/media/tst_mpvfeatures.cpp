// What mpv does for the player beyond transport, on generated files with null outputs: tracks,
// subtitle files, speed, screenshots, and the requests it refuses.
#include "media/MediaFiles.h"
#include "media/MpvPlatform.h"
#include "media/MpvPlayer.h"
#include "media/MpvProbe.h"
#include "media/MpvProperties.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <clocale>
#include <cmath>
#include <limits>
#include <memory>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

constexpr int kBound = 15000;

test::VideoSpec video(int seconds, QSize size) {
    test::VideoSpec spec;
    spec.seconds = seconds;
    spec.size = size;
    return spec;
}

test::VideoSpec subtitled(int seconds, const QStringList& languages) {
    test::VideoSpec spec;
    spec.seconds = seconds;
    spec.subtitleLanguages = languages;
    return spec;
}

int countOf(const QList<MediaTrack>& tracks, MediaTrack::Kind kind) {
    return static_cast<int>(std::ranges::count_if(
        tracks, [kind](const MediaTrack& track) { return track.kind == kind; }));
}

}  // namespace

class TestMpvFeatures final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        std::setlocale(LC_NUMERIC, "C");
        QVERIFY(folder_.isValid());
        const QString why = test::makeVideo(
            path(u"audio.mkv"_s),
            {.seconds = 20, .audioLanguages = {u"yue"_s, u"eng"_s}, .subtitleLanguages = {}});
        if (!why.isEmpty()) {
            QSKIP(qPrintable(why));
        }
        QCOMPARE(test::makeVideo(path(u"subtitles.mkv"_s), subtitled(20, {u"chi"_s, u"eng"_s})),
                 QString());
        QCOMPARE(test::makeVideo(path(u"plain.mp4"_s), video(30, {352, 288})), QString());
    }

    void init() {
        host_ = std::make_unique<QWidget>();
        player_ = MpvPlayer::create(host_.get(), MpvOptions{.renderVideo = false, .audio = false});
        QVERIFY(player_ != nullptr);
    }

    void cleanup() { host_.reset(); }

    void trackChoiceReachesMpv_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<MediaTrack::Kind>("kind");
        QTest::addColumn<QString>("property");
        QTest::addColumn<QStringList>("languages");
        QTest::newRow("audio") << u"audio.mkv"_s << MediaTrack::Kind::Audio
                               << QString::fromLatin1(mpvprop::kAudioTrack)
                               << QStringList{u"yue"_s, u"eng"_s};
        QTest::newRow("subtitle") << u"subtitles.mkv"_s << MediaTrack::Kind::Subtitle
                                  << QString::fromLatin1(mpvprop::kSubtitleTrack)
                                  << QStringList{u"chi"_s, u"eng"_s};
    }

    void trackChoiceReachesMpv() {
        QFETCH(QString, file);
        QFETCH(MediaTrack::Kind, kind);
        QFETCH(QString, property);
        QFETCH(QStringList, languages);
        open(file);
        QTRY_COMPARE_WITH_TIMEOUT(countOf(player_->tracks(), kind), 2, kBound);
        QStringList tagged;
        for (const MediaTrack& track : player_->tracks()) {
            if (track.kind == kind) {
                tagged << track.language;
            }
        }
        QCOMPARE(tagged, languages);
        const QByteArray name = property.toLatin1();
        QVERIFY(player_->selectTrack(kind, 2));
        QTRY_COMPARE_WITH_TIMEOUT(test::MpvProbe::property(*player_, name.constData()), u"2"_s,
                                  kBound);
        QTRY_VERIFY_WITH_TIMEOUT(std::ranges::any_of(player_->tracks(),
                                                     [&](const MediaTrack& track) {
                                                         return track.kind == kind &&
                                                                track.id == 2 && track.selected;
                                                     }),
                                 kBound);
        // Ids the file does not have are refused, and nothing changes.
        QVERIFY(!player_->selectTrack(kind, 7));
        QVERIFY(!player_->selectTrack(kind, -1));
        QCOMPARE(test::MpvProbe::property(*player_, name.constData()), u"2"_s);
    }

    void subtitleFilesLoadOrAreRefused_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("loads");
        QTest::newRow("subrip") << QByteArray("1\n00:00:00,000 --> 00:00:20,000\n外挂字幕\n")
                                << true;
        QByteArray junk(64 * 1024, '\0');
        for (qsizetype i = 0; i < junk.size(); ++i) {
            junk[i] = static_cast<char>((i * 7919) % 251);
        }
        QTest::newRow("binary junk") << junk << false;
    }

    void subtitleFilesLoadOrAreRefused() {
        QFETCH(QByteArray, content);
        QFETCH(bool, loads);
        const QString file = path(u"extra.srt"_s);
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(content) == content.size());
        out.close();
        open(u"plain.mp4"_s);
        QCOMPARE(player_->addSubtitleFile(file), loads);
        if (loads) {
            QTRY_VERIFY_WITH_TIMEOUT(
                std::ranges::any_of(
                    player_->tracks(),
                    [](const MediaTrack& track) { return track.external && track.selected; }),
                kBound);
        }
        // Still playing.
        const double at = test::MpvProbe::position(*player_);
        QTRY_VERIFY_WITH_TIMEOUT(test::MpvProbe::position(*player_) > at + 0.2, kBound);
    }

    void doubleSpeedDoublesTheRateOfPosition() {
        open(u"plain.mp4"_s);
        QTRY_VERIFY_WITH_TIMEOUT(test::MpvProbe::position(*player_) > 0, kBound);
        const double normal = rateOfPosition();
        QVERIFY(player_->setSpeed(2));
        QTRY_COMPARE_WITH_TIMEOUT(player_->speed(), 2.0, kBound);
        const double fast = rateOfPosition();
        // A loaded machine (the sanitizer run) may not keep up with the doubled rate in full.
        QVERIFY2(fast / normal > 1.5 && fast / normal < 2.5,
                 qPrintable(u"%1 against %2"_s.arg(fast).arg(normal)));
    }

    void ratesOutsideTheRangeAreClampedOrRefused_data() {
        QTest::addColumn<double>("rate");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<double>("speed");
        QTest::newRow("zero") << 0.0 << false << 1.0;
        QTest::newRow("negative") << -1.0 << false << 1.0;
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << false << 1.0;
        QTest::newRow("thousand") << 1000.0 << true << 2.0;
        QTest::newRow("a tenth") << 0.1 << true << 0.5;
        QTest::newRow("one and a half") << 1.5 << true << 1.5;
    }

    void ratesOutsideTheRangeAreClampedOrRefused() {
        QFETCH(double, rate);
        QFETCH(bool, taken);
        QFETCH(double, speed);
        open(u"plain.mp4"_s);
        if (!taken || rate != speed) {
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"playback rate"_s));
        }
        QCOMPARE(player_->setSpeed(rate), taken);
        QTRY_COMPARE_WITH_TIMEOUT(test::MpvProbe::property(*player_, mpvprop::kSpeed).toDouble(),
                                  speed, kBound);
    }

    void screenshotIsAPngOfTheVideosSize() {
        open(u"plain.mp4"_s);
        QTRY_VERIFY_WITH_TIMEOUT(test::MpvProbe::position(*player_) > 0.5, kBound);
        const QString shot = path(u"frame.png"_s);
        QVERIFY(player_->saveScreenshot(shot));
        QImageReader reader(shot);
        QCOMPARE(reader.format(), QByteArray("png"));
        QCOMPARE(reader.size(), QSize(352, 288));
        QVERIFY(!player_->saveScreenshot(path(u"no/such/folder/frame.png"_s)));
    }

    void framesStepOnlyWhilePaused() {
        open(u"plain.mp4"_s);
        player_->setPaused(true);
        QTRY_VERIFY_WITH_TIMEOUT(player_->isPaused(), kBound);
        player_->seekTo(5);
        // To the frame itself, not a key frame passed on the way there; and the seek is over: a
        // step asked for during it would end on the seek's own frame (mpv gives the seek's target
        // as the position meanwhile).
        QTRY_VERIFY_WITH_TIMEOUT(std::abs(test::MpvProbe::position(*player_) - 5) < 0.01 &&
                                     test::MpvProbe::property(*player_, "seeking") == u"no"_s,
                                 kBound);
        const double at = test::MpvProbe::position(*player_);
        player_->stepFrame(true);
        QTRY_VERIFY_WITH_TIMEOUT(std::abs(test::MpvProbe::position(*player_) - (at + 0.04)) < 0.01,
                                 kBound);
        player_->stepFrame(false);
        QTRY_VERIFY_WITH_TIMEOUT(std::abs(test::MpvProbe::position(*player_) - at) < 0.01, kBound);
        QVERIFY(player_->isPaused());
    }

    void subtitleDelayAndEncodingReachMpv() {
        open(u"subtitles.mkv"_s);
        player_->setSubtitleDelay(-0.3);
        // mpv keeps it in single precision.
        QTRY_VERIFY_WITH_TIMEOUT(std::abs(player_->subtitleDelay() + 0.3) < 1e-4, kBound);
        player_->setSubtitleEncoding(u"BIG5"_s);
        QTRY_COMPARE_WITH_TIMEOUT(test::MpvProbe::property(*player_, mpvprop::kSubCodepage),
                                  u"big5"_s, kBound);
        player_->setHardwareDecoding(false);
        QTRY_COMPARE_WITH_TIMEOUT(test::MpvProbe::property(*player_, mpvprop::kHwdec), u"no"_s,
                                  kBound);
        // On again: mpv looks for a decoder only on a machine with a device for one.
        player_->setHardwareDecoding(true);
        QTRY_COMPARE_WITH_TIMEOUT(test::MpvProbe::property(*player_, mpvprop::kHwdec),
                                  hasDecoderDevice() ? u"auto-safe"_s : u"no"_s, kBound);
    }

    void decoderDevicesAreFound_data() {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<bool>("found");
        QTest::newRow("none") << QStringList{} << false;
        QTest::newRow("an empty DRM folder") << QStringList{u"dri/"_s} << false;
        QTest::newRow("only DRM's by-path links") << QStringList{u"dri/by-path/x"_s} << false;
        QTest::newRow("a render node") << QStringList{u"dri/renderD128"_s} << true;
        QTest::newRow("a card node") << QStringList{u"dri/card0"_s} << true;
        QTest::newRow("NVIDIA's") << QStringList{u"nvidiactl"_s, u"nvidia0"_s} << true;
    }

    void decoderDevicesAreFound() {
        QFETCH(QStringList, files);
        QFETCH(bool, found);
        QTemporaryDir devices;
        for (const QString& name : files) {
            const QString path = devices.filePath(name);
            QVERIFY(QDir().mkpath(QFileInfo(path).path()));
            if (!name.endsWith(u'/')) {
                QFile file(path);
                QVERIFY(file.open(QIODevice::WriteOnly));
            }
        }
        QCOMPARE(hasDecoderDevice(devices.path()), found);
    }

private:
    [[nodiscard]] QString path(const QString& name) const { return folder_.filePath(name); }

    void open(const QString& name) {
        QSignalSpy loaded(player_, &MpvPlayer::fileLoaded);
        player_->setSource(path(name));
        player_->play();
        QVERIFY(loaded.wait(kBound));
    }

    // Seconds of film per second of wall time, over a second.
    double rateOfPosition() {
        QElapsedTimer clock;
        const double from = test::MpvProbe::position(*player_);
        clock.start();
        QTest::qWait(1200);
        const double to = test::MpvProbe::position(*player_);
        return (to - from) / (static_cast<double>(clock.elapsed()) / 1000);
    }

    QTemporaryDir folder_;
    std::unique_ptr<QWidget> host_;
    MpvPlayer* player_ = nullptr;
};

}  // namespace tivora

QTEST_MAIN(tivora::TestMpvFeatures)
#include "tst_mpvfeatures.moc"
