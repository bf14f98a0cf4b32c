// libmpv plays generated RealMedia files with null outputs: position, stop, replacement, and the
// messages for files that cannot play.
#include "media/MediaFiles.h"
#include "media/MpvPlayer.h"
#include "media/MpvProbe.h"
#include "media/MpvProperties.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <mpv/client.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <memory>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

constexpr int kBound = 15000;

bool copyPart(const QString& from, const QString& to, qint64 bytes) {
    QFile in(from);
    QFile out(to);
    return in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly) &&
           out.write(in.read(bytes)) >= 0;
}

bool writeText(const QString& path, const QByteArray& text) {
    QFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(text) == text.size();
}

}  // namespace

class TestMpvPlayer final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        // libmpv refuses to start under a locale that writes numbers otherwise.
        std::setlocale(LC_NUMERIC, "C");
        QVERIFY(folder_.isValid());
        first_ = folder_.filePath(u"first.rm"_s);
        second_ = folder_.filePath(u"second.rmvb"_s);
        const QString why = test::makeRealMedia(first_, 6);
        if (!why.isEmpty()) {
            QSKIP(qPrintable(why));
        }
        QCOMPARE(test::makeRealMedia(second_, 6, u"blue"_s), QString());
        shortFile_ = folder_.filePath(u"short.rm"_s);
        longFile_ = folder_.filePath(u"long.rm"_s);
        QCOMPARE(test::makeRealMedia(shortFile_, 3, u"green"_s), QString());
        QCOMPARE(test::makeRealMedia(longFile_, 40), QString());
    }

    void init() {
        host_ = std::make_unique<QWidget>();
        player_ = MpvPlayer::create(host_.get(), MpvOptions{.renderVideo = false, .audio = false});
        QVERIFY(player_ != nullptr);
        QCOMPARE(player_->widget()->parentWidget(), host_.get());
    }

    void cleanup() { host_.reset(); }

    void positionAdvancesAfterSourceAndPlay() {
        QSignalSpy loaded(player_, &MpvPlayer::fileLoaded);
        player_->invoke(PlayerControl::kDispSource, first_);
        player_->invoke(PlayerControl::kDispPlay);
        QVERIFY(loaded.wait(kBound));
        QTRY_VERIFY_WITH_TIMEOUT(test::MpvProbe::position(*player_) > 0.5, kBound);
        const double earlier = test::MpvProbe::position(*player_);
        QTRY_VERIFY_WITH_TIMEOUT(test::MpvProbe::position(*player_) > earlier + 0.3, kBound);
        QCOMPARE(test::MpvProbe::path(*player_), first_);
    }

    // What the control bar and the keys do reaches mpv itself.
    void transportReachesMpv() {
        QSignalSpy loaded(player_, &MpvPlayer::fileLoaded);
        player_->setSource(first_);
        player_->play();
        QVERIFY(loaded.wait(kBound));
        QVERIFY(player_->hasFile());
        QTRY_VERIFY_WITH_TIMEOUT(player_->duration() > 5, kBound);
        player_->setPaused(true);
        QTRY_VERIFY_WITH_TIMEOUT(player_->isPaused(), kBound);
        const double paused = test::MpvProbe::position(*player_);
        QTest::qWait(400);
        QCOMPARE(test::MpvProbe::position(*player_), paused);
        player_->seekTo(4);
        QTRY_VERIFY_WITH_TIMEOUT(std::abs(test::MpvProbe::position(*player_) - 4) < 0.5, kBound);
        QTRY_VERIFY_WITH_TIMEOUT(std::abs(player_->position() - 4) < 0.5, kBound);
        player_->setPaused(false);
        QTRY_VERIFY_WITH_TIMEOUT(test::MpvProbe::position(*player_) > 4.3, kBound);
        player_->setVolume(35);
        QTRY_COMPARE_WITH_TIMEOUT(player_->volume(), 35, kBound);
        player_->setMuted(true);
        QTRY_VERIFY_WITH_TIMEOUT(player_->isMuted(), kBound);
    }

    void playedToItsEndStaysOnItsLastFrame() {
        QSignalSpy reached(player_, &PlayerControl::endReached);
        QSignalSpy loaded(player_, &MpvPlayer::fileLoaded);
        player_->setSource(first_);
        player_->play();
        QVERIFY(loaded.wait(kBound));
        player_->seekTo(5.5);
        QVERIFY(reached.wait(kBound));
        // Still open, paused on its last frame; played again, it starts from the beginning.
        QVERIFY(player_->hasFile());
        QTRY_VERIFY_WITH_TIMEOUT(player_->isPaused(), kBound);
        QVERIFY(test::MpvProbe::position(*player_) > 5);
        player_->play();
        QTRY_VERIFY_WITH_TIMEOUT(!player_->isPaused() && test::MpvProbe::position(*player_) < 2,
                                 kBound);
        QCOMPARE(reached.size(), 1);
    }

    // An end met in an earlier file leaves no trace: the next file pauses, resumes and seeks where
    // it is, and its own end is reported too.
    void anEndIsForgottenWhenTheNextFileLoads() {
        QSignalSpy reached(player_, &PlayerControl::endReached);
        QSignalSpy loaded(player_, &MpvPlayer::fileLoaded);
        player_->setSource(shortFile_);
        player_->play();
        QVERIFY(reached.wait(kBound));
        player_->setSource(longFile_);
        player_->play();
        QTRY_COMPARE_WITH_TIMEOUT(loaded.size(), 2, kBound);
        QTRY_VERIFY_WITH_TIMEOUT(player_->position() > 4, kBound);
        // The lowest reading since the last check, to catch a jump back to the beginning.
        double lowest = 0;
        connect(player_, &PlayerControl::stateChanged, this, [&] {
            if (player_->hasFile()) {
                lowest = std::min(lowest, player_->position());
            }
        });
        player_->setPaused(true);
        QTRY_VERIFY_WITH_TIMEOUT(player_->isPaused(), kBound);
        const double pausedAt = test::MpvProbe::position(*player_);
        lowest = pausedAt;
        player_->setPaused(false);
        QTRY_VERIFY_WITH_TIMEOUT(player_->position() > pausedAt + 0.5, kBound);
        QVERIFY2(lowest > pausedAt - 0.5, qPrintable(QString::number(lowest)));

        player_->setPaused(true);
        QTRY_VERIFY_WITH_TIMEOUT(player_->isPaused(), kBound);
        player_->seekTo(20);
        QTRY_VERIFY_WITH_TIMEOUT(std::abs(player_->position() - 20) < 0.5, kBound);
        lowest = player_->position();
        player_->setPaused(false);
        QTRY_VERIFY_WITH_TIMEOUT(player_->position() > 20.5, kBound);
        QVERIFY2(lowest > 19.5, qPrintable(QString::number(lowest)));

        player_->seekTo(39);
        QTRY_COMPARE_WITH_TIMEOUT(reached.size(), 2, kBound);
    }

    void subtitlesBesideTheVideoLoadInEitherEncoding_data() {
        QTest::addColumn<QString>("subtitleName");  // "%1" stands for the video's base name
        QTest::addColumn<QByteArray>("encoding");
        QTest::newRow("GBK, language tag") << u"%1.chs.srt"_s << QByteArray("GBK");
        QTest::newRow("UTF-8, [字幕] name") << u"%1[字幕].srt"_s << QByteArray("UTF-8");
    }

    void subtitlesBesideTheVideoLoadInEitherEncoding() {
        QFETCH(QString, subtitleName);
        QFETCH(QByteArray, encoding);
        QTemporaryDir folder;
        const QString video = folder.filePath(u"影片.rm"_s);
        QFile::copy(first_, video);
        const QString line = u"你好，世界：字幕"_s;
        QStringEncoder encoder(encoding.constData());
        const QByteArray srt =
            encoder.encode(u"1\r\n00:00:00,000 --> 00:00:05,000\r\n"_s + line + u"\r\n\r\n"_s);
        QVERIFY(writeText(folder.filePath(subtitleName.arg(u"影片"_s)), srt));
        QSignalSpy loaded(player_, &MpvPlayer::fileLoaded);
        player_->setSource(video);
        player_->play();
        QVERIFY(loaded.wait(kBound));
        QTRY_COMPARE_WITH_TIMEOUT(test::MpvProbe::subtitle(*player_), line, kBound);
        player_->setSubtitlesShown(false);
        QVERIFY(!player_->subtitlesShown());
    }

    // A FIFO named like a subtitle file would hold the film until a writer came: it is passed
    // by, the regular subtitle file beside it still loads.
    void fifoSubtitleBesideTheVideoIsPassedBy() {
        QTemporaryDir folder;
        const QString video = folder.filePath(u"影片.rm"_s);
        QFile::copy(first_, video);
        QCOMPARE(::mkfifo(QFile::encodeName(folder.filePath(u"影片.srt"_s)).constData(), 0600), 0);
        const QString line = u"你好"_s;
        QVERIFY(writeText(
            folder.filePath(u"影片.chs.srt"_s),
            u"1\r\n00:00:00,000 --> 00:00:05,000\r\n"_s.toUtf8() + line.toUtf8() + "\r\n\r\n"));
        QSignalSpy loaded(player_, &MpvPlayer::fileLoaded);
        player_->setSource(video);
        player_->play();
        QVERIFY(loaded.wait(kBound));
        QTRY_COMPARE_WITH_TIMEOUT(test::MpvProbe::subtitle(*player_), line, kBound);
    }

    // A name in GBK bytes (第一集), shown and handed over as the text it reads as.
    void gbkNamedFilePlays() {
        QFile source(first_);
        QVERIFY(source.open(QIODevice::ReadOnly));
        const QByteArray bytes = QFile::encodeName(folder_.path()) + "/\xb5\xda\xd2\xbb\xbc\xaf.rm";
        // Removed by its bytes: the folder's own clean-up cannot name it.
        const std::unique_ptr<const char, int (*)(const char*)> removed(
            bytes.constData(), [](const char* path) { return std::remove(path); });
        FILE* out = std::fopen(bytes.constData(), "wb");
        QVERIFY(out != nullptr);
        const QByteArray film = source.readAll();
        QCOMPARE(std::fwrite(film.constData(), 1, film.size(), out), size_t(film.size()));
        QCOMPARE(std::fclose(out), 0);
        QSignalSpy loaded(player_, &MpvPlayer::fileLoaded);
        QSignalSpy failed(player_, &MpvPlayer::failed);
        player_->setSource(folder_.filePath(u"第一集.rm"_s));
        player_->play();
        QVERIFY(loaded.wait(kBound));
        QCOMPARE(failed.size(), 0);
    }

    void stopStopsPlayback() {
        QSignalSpy loaded(player_, &MpvPlayer::fileLoaded);
        QSignalSpy ended(player_, &MpvPlayer::endFile);
        QSignalSpy failed(player_, &PlayerControl::failed);
        player_->setSource(first_);
        player_->play();
        QVERIFY(loaded.wait(kBound));
        QTRY_VERIFY_WITH_TIMEOUT(test::MpvProbe::position(*player_) > 0.2, kBound);
        QVERIFY(player_->hasStarted());
        player_->invoke(PlayerControl::kDispStop);
        QVERIFY(!player_->hasStarted());
        QVERIFY(ended.wait(kBound));
        QCOMPARE(ended.first().first().toBool(), false);
        QTRY_COMPARE_WITH_TIMEOUT(test::MpvProbe::position(*player_), -1.0, kBound);
        QCOMPARE(test::MpvProbe::path(*player_), QString());
        QCOMPARE(failed.size(), 0);
        // Play after stop starts the same source again.
        player_->play();
        QVERIFY(loaded.wait(kBound));
        QCOMPARE(test::MpvProbe::path(*player_), first_);
        QTRY_VERIFY_WITH_TIMEOUT(player_->hasStarted(), kBound);
    }

    void secondSourceReplacesTheFirst() {
        QSignalSpy loaded(player_, &MpvPlayer::fileLoaded);
        QSignalSpy ended(player_, &MpvPlayer::endFile);
        player_->setSource(first_);
        player_->play();
        QVERIFY(loaded.wait(kBound));
        QTRY_VERIFY_WITH_TIMEOUT(test::MpvProbe::position(*player_) > 1.0, kBound);
        player_->invoke(PlayerControl::kDispSource, second_);
        QCOMPARE(test::MpvProbe::path(*player_), first_);  // the source alone does not switch
        player_->invoke(PlayerControl::kDispPlay);
        QTRY_COMPARE_WITH_TIMEOUT(loaded.size(), 2, kBound);
        QCOMPARE(test::MpvProbe::path(*player_), second_);
        QCOMPARE(ended.size(), 1);
        QCOMPARE(ended.first().first().toBool(), false);
        QTRY_VERIFY_WITH_TIMEOUT(test::MpvProbe::position(*player_) > 0.2, kBound);
        QVERIFY(test::MpvProbe::position(*player_) < 1.0);
    }

    // mpv's shortcut to a file's first frame lasts only while that file starts: each file, the
    // one replacing another too, opens with it and plays on with mpv's usual frame timing.
    void firstFrameShortcutLastsOnlyWhileAFileStarts() {
        QStringList atLoad;
        connect(player_, &MpvPlayer::fileLoaded, this,
                [&] { atLoad << test::MpvProbe::property(*player_, mpvprop::kVideoLatencyHacks); });
        QSignalSpy loaded(player_, &MpvPlayer::fileLoaded);
        for (const QString& file : {first_, second_}) {
            player_->setSource(file);
            player_->play();
            QTRY_COMPARE_WITH_TIMEOUT(test::MpvProbe::path(*player_), file, kBound);
            QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty() && player_->hasStarted(), kBound);
            QTRY_COMPARE_WITH_TIMEOUT(
                test::MpvProbe::property(*player_, mpvprop::kVideoLatencyHacks), u"no"_s, kBound);
            loaded.clear();
        }
        QCOMPARE(atLoad, QStringList({u"yes"_s, u"yes"_s}));
    }

    void playingTheSameSourceAgainDoesNotRestart() {
        QSignalSpy loaded(player_, &MpvPlayer::fileLoaded);
        player_->setSource(first_);
        player_->play();
        QVERIFY(loaded.wait(kBound));
        QTRY_VERIFY_WITH_TIMEOUT(test::MpvProbe::position(*player_) > 1.0, kBound);
        player_->play();
        QVERIFY(!loaded.wait(300));
        QVERIFY(test::MpvProbe::position(*player_) > 1.0);
    }

    void unknownDispatchIdentifierThrows() {
        QVERIFY_THROWS_EXCEPTION(std::exception, player_->invoke(99));
    }

    void badInput_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing file") << u"gone.rm"_s << u"找不到文件“gone.rm”"_s;
        QTest::newRow("not a video") << u"notes.rm"_s << u"不是可以识别的视频文件"_s;
        QTest::newRow("empty file") << u"empty.rmvb"_s << u"不是可以识别的视频文件"_s;
        QTest::newRow("header only") << u"header.rm"_s << u"无法播放"_s;
        QTest::newRow("playlist in disguise") << u"list.rm"_s << u"不是可以识别的视频文件"_s;
    }

    void badInput() {
        QFETCH(QString, name);
        QFETCH(QString, message);
        QVERIFY(writeText(folder_.filePath(u"notes.rm"_s), "just some notes\nnot a video\n"));
        QVERIFY(writeText(folder_.filePath(u"empty.rmvb"_s), {}));
        QVERIFY(copyPart(first_, folder_.filePath(u"header.rm"_s), 200));
        QVERIFY(writeText(folder_.filePath(u"list.rm"_s),
                          "#EXTM3U\n" + QFile::encodeName(first_) + '\n'));
        QSignalSpy failed(player_, &PlayerControl::failed);
        QSignalSpy ended(player_, &MpvPlayer::endFile);
        player_->setSource(folder_.filePath(name));
        player_->play();
        QVERIFY(failed.wait(kBound));
        QVERIFY2(failed.first().first().toString().contains(message),
                 qPrintable(failed.first().first().toString()));
        QVERIFY(failed.first().first().toString().startsWith(u"无法播放"_s));
        // Chinese throughout: no word of mpv's own beside the file's name.
        const QString words = failed.first().first().toString().remove(name);
        QVERIFY2(!words.contains(QRegularExpression(u"[A-Za-z]"_s)), qPrintable(words));
        QVERIFY(ended.size() >= 1);
        QCOMPARE(ended.last().first().toBool(), true);
        // The player takes the next file as usual.
        QSignalSpy loaded(player_, &MpvPlayer::fileLoaded);
        player_->setSource(first_);
        player_->play();
        QVERIFY(loaded.wait(kBound));
        QCOMPARE(test::MpvProbe::path(*player_), first_);
        QCOMPARE(failed.size(), 1);
    }

    // Whatever mpv gives as the reason, the user reads it in Chinese.
    void failureTextsAreChinese_data() {
        QTest::addColumn<QString>("source");
        QTest::newRow("a file") << first_;
        QTest::newRow("a missing file") << folder_.filePath(u"gone.rmvb"_s);
        QTest::newRow("an address") << u"http://films.example/a.mp4"_s;
    }

    void failureTextsAreChinese() {
        QFETCH(QString, source);
        const QString name = QFileInfo(source).fileName();
        for (int error = MPV_ERROR_SUCCESS - 1; error >= MPV_ERROR_GENERIC - 2; --error) {
            const QString words = playFailureText(error, source).remove(name);
            QVERIFY2(words.startsWith(u"无法播放"_s), qPrintable(words));
            QVERIFY2(!words.contains(QRegularExpression(u"[A-Za-z]"_s)),
                     qPrintable(u"%1: %2"_s.arg(error).arg(words)));
        }
    }

    void truncatedVideoPlaysWhatIsThereAndEnds() {
        const QString half = folder_.filePath(u"half.rm"_s);
        QVERIFY(copyPart(first_, half, QFile(first_).size() / 3));
        QSignalSpy reached(player_, &PlayerControl::endReached);
        QSignalSpy failed(player_, &PlayerControl::failed);
        player_->setSource(half);
        player_->play();
        QTRY_VERIFY_WITH_TIMEOUT(test::MpvProbe::position(*player_) > 0.2, kBound);
        QVERIFY(reached.wait(kBound));
        QCOMPARE(failed.size(), 0);
        QVERIFY(player_->isPaused());
    }

    void namesInAnyScriptPlay_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("chinese") << u"电影 第一集.rmvb"_s;
        QTest::newRow("arabic and hebrew") << u"فيلم סרט.rm"_s;
        QTest::newRow("emoji") << u"🎬 片.rm"_s;
        QTest::newRow("looks like an option") << u"--help.rm"_s;
        QTest::newRow("looks like a protocol") << u"http:x.rm"_s;
    }

    void namesInAnyScriptPlay() {
        QFETCH(QString, name);
        const QString path = folder_.filePath(name);
        QFile::remove(path);
        QVERIFY(QFile::copy(first_, path));
        QSignalSpy loaded(player_, &MpvPlayer::fileLoaded);
        player_->setSource(path);
        player_->play();
        QVERIFY(loaded.wait(kBound));
        QCOMPARE(test::MpvProbe::path(*player_), path);
    }

    void destroyedWhilePlaying() {
        QSignalSpy loaded(player_, &MpvPlayer::fileLoaded);
        player_->setSource(first_);
        player_->play();
        QVERIFY(loaded.wait(kBound));
        QPointer<MpvPlayer> watched(player_);
        host_.reset();
        QVERIFY(watched.isNull());
    }

private:
    QTemporaryDir folder_;
    QString first_;
    QString second_;
    QString shortFile_;
    QString longFile_;
    std::unique_ptr<QWidget> host_;
    MpvPlayer* player_ = nullptr;
};

}  // namespace tivora

QTEST_MAIN(tivora::TestMpvPlayer)
#include "tst_mpvplayer.moc"
