// The video really drawn: libmpv's render API into the player's OpenGL widget, in an X server
// with GLX, at the widget's full size in device pixels.
#include "media/MediaFiles.h"
#include "media/MpvCore.h"
#include "media/MpvPlayer.h"
#include "media/MpvProbe.h"
#include "media/MpvRenderContext.h"
#include "media/MpvVideoWidget.h"

#include <QFileInfo>
#include <QPointer>
#include <QScopeGuard>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <clocale>
#include <memory>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

constexpr int kBound = 20000;

bool isRed(QRgb pixel) {
    return qRed(pixel) > 180 && qGreen(pixel) < 80 && qBlue(pixel) < 80;
}

// A player whose video fills the window, the window shown; null when either fails.
MpvPlayer* playerFilling(QWidget& window) {
    MpvPlayer* player = MpvPlayer::create(&window, MpvOptions{.renderVideo = true, .audio = false});
    auto* video = player != nullptr ? qobject_cast<MpvVideoWidget*>(player->widget()) : nullptr;
    if (video == nullptr) {
        return nullptr;
    }
    video->setGeometry(window.rect());
    window.show();
    return QTest::qWaitForWindowExposed(&window) ? player : nullptr;
}

// The screen's own pixel at the video's centre, whichever window lies on top.
QRgb centreOnScreen(const QWidget& video) {
    const QPoint centre = video.mapToGlobal(video.rect().center());
    return video.screen()->grabWindow(0, centre.x(), centre.y(), 1, 1).toImage().pixel(0, 0);
}

}  // namespace

class TestMpvVideo final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        // libmpv refuses to start under a locale that writes numbers otherwise.
        std::setlocale(LC_NUMERIC, "C");
        QVERIFY(folder_.isValid());
        red_ = folder_.filePath(u"red.rmvb"_s);
        const QString why = test::makeRealMedia(red_, 30, u"red"_s);
        if (!why.isEmpty()) {
            QSKIP(qPrintable(why));
        }
    }

    void videoFillsTheWidgetAtItsDevicePixelSize() {
        QWidget window;
        window.resize(500, 400);
        MpvPlayer* player =
            MpvPlayer::create(&window, MpvOptions{.renderVideo = true, .audio = false});
        QVERIFY(player != nullptr);
        auto* video = qobject_cast<MpvVideoWidget*>(player->widget());
        QVERIFY2(video != nullptr, "no OpenGL in this X server: run it with +extension GLX");
        video->setGeometry(20, 30, 400, 300);  // the video's own 4:3
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QSignalSpy failed(player, &PlayerControl::failed);
        QSignalSpy loaded(player, &MpvPlayer::fileLoaded);
        player->setSource(red_);
        player->play();
        QVERIFY(loaded.wait(kBound));
        const qreal ratio = video->devicePixelRatioF();
        QImage frame;
        QTRY_VERIFY_WITH_TIMEOUT((frame = test::MpvProbe::frame(*video),
                                  isRed(frame.pixel(frame.width() / 2, frame.height() / 2))),
                                 kBound);
        QCOMPARE(frame.size(), (QSize(400, 300) * ratio));
        // Corners too: the picture covers the whole widget, not a part of device pixels.
        for (const QPoint corner :
             {QPoint(3, 3), QPoint(frame.width() - 4, 3), QPoint(3, frame.height() - 4),
              QPoint(frame.width() - 4, frame.height() - 4)}) {
            QVERIFY2(isRed(frame.pixel(corner)), qPrintable(u"%1,%2 is %3"_s.arg(corner.x())
                                                                .arg(corner.y())
                                                                .arg(frame.pixel(corner), 8, 16)));
        }
        QCOMPARE(failed.size(), 0);
        frame.save(QStringLiteral(TIVORA_BIN_DIR) + u"/../tests/mpv-video-frame.png"_s);

        // Stopped: black again on the screen itself, not only when asked for a new frame.
        QTRY_VERIFY_WITH_TIMEOUT(isRed(centreOnScreen(*video)), kBound);
        QSignalSpy ended(player, &MpvPlayer::endFile);
        player->stop();
        QVERIFY(ended.wait(kBound));
        QTRY_VERIFY_WITH_TIMEOUT(qRed(centreOnScreen(*video)) < 30, kBound);
    }

    // While a file starts, mpv's redraws of the film it replaces are not drawn; one that has no
    // picture of its own still leaves nothing of that film on the screen, and the next film shows
    // its own.
    void soundOnlyFileAfterAFilmLeavesBlack_data() {
        QTest::addColumn<bool>("stoppedFirst");
        QTest::newRow("replaced") << false;
        QTest::newRow("stopped, then replaced at once") << true;
    }

    void soundOnlyFileAfterAFilmLeavesBlack() {
        QFETCH(bool, stoppedFirst);
        const QString sound = folder_.filePath(u"sound.mkv"_s);
        if (!QFileInfo::exists(sound)) {
            test::VideoSpec spec;
            spec.seconds = 20;
            spec.picture = false;
            const QString why = test::makeVideo(sound, spec);
            QVERIFY2(why.isEmpty(), qPrintable(why));
        }
        QWidget window;
        window.resize(320, 240);
        MpvPlayer* player = playerFilling(window);
        QVERIFY(player != nullptr);
        auto* video = qobject_cast<MpvVideoWidget*>(player->widget());
        player->setSource(red_);
        player->play();
        QTRY_VERIFY_WITH_TIMEOUT(isRed(centreOnScreen(*video)), kBound);
        if (stoppedFirst) {
            player->stop();
        }
        player->setSource(sound);
        player->play();
        QTRY_VERIFY_WITH_TIMEOUT(test::MpvProbe::position(*player) > 0.5, kBound);
        QTRY_VERIFY_WITH_TIMEOUT(qRed(centreOnScreen(*video)) < 30, kBound);
        // A film after it shows its picture again.
        player->setSource(red_);
        player->play();
        QTRY_VERIFY_WITH_TIMEOUT(isRed(centreOnScreen(*video)), kBound);
    }

    // A file that is slow to start (an address that does not answer) leaves the picture it replaces
    // on the screen: uncovered meanwhile, the window shows that picture again, not what lay over
    // it.
    void windowUncoveredWhileAFileStartsIsDrawnAgain() {
        const int server = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        QVERIFY(server >= 0);
        const auto closeServer = qScopeGuard([server] { ::close(server); });
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        QVERIFY(::bind(server, reinterpret_cast<sockaddr*>(&address), length) == 0);
        QVERIFY(::listen(server, 4) == 0);
        QVERIFY(::getsockname(server, reinterpret_cast<sockaddr*>(&address), &length) == 0);
        QWidget window;
        window.resize(320, 240);
        MpvPlayer* player = playerFilling(window);
        QVERIFY(player != nullptr);
        auto* video = qobject_cast<MpvVideoWidget*>(player->widget());
        player->setSource(red_);
        player->play();
        QTRY_VERIFY_WITH_TIMEOUT(isRed(centreOnScreen(*video)), kBound);
        player->setSource(u"http://127.0.0.1:%1/film.mp4"_s.arg(ntohs(address.sin_port)));
        player->play();
        QWidget cover(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
        cover.setStyleSheet(u"background: white;"_s);
        cover.setGeometry(QRect(window.mapToGlobal(QPoint(0, 0)), window.size()));
        cover.show();
        QVERIFY(QTest::qWaitForWindowExposed(&cover));
        QTRY_VERIFY_WITH_TIMEOUT(qGreen(centreOnScreen(*video)) > 200, kBound);
        cover.hide();
        QTRY_VERIFY_WITH_TIMEOUT(isRed(centreOnScreen(*video)), kBound);
    }

    // Moved into another window, the video's native window is made anew: a paused picture is
    // drawn again there and back, the render thread drawing only into a window that is there.
    void pausedPictureFollowsTheVideoIntoAnotherWindow() {
        QWidget window;
        window.resize(320, 240);
        MpvPlayer* player = playerFilling(window);
        QVERIFY(player != nullptr);
        auto* video = qobject_cast<MpvVideoWidget*>(player->widget());
        QSignalSpy loaded(player, &MpvPlayer::fileLoaded);
        player->setSource(red_);
        player->play();
        QVERIFY(loaded.wait(kBound));
        const auto redInCentre = [&] {
            const QImage frame = test::MpvProbe::frame(*video);
            return !frame.isNull() && isRed(frame.pixel(frame.width() / 2, frame.height() / 2));
        };
        QTRY_VERIFY_WITH_TIMEOUT(redInCentre(), kBound);
        player->setPaused(true);
        QWidget other;
        other.resize(400, 300);
        for (QWidget* host : {&other, &window}) {
            video->setParent(host);
            video->setGeometry(host->rect());
            video->show();
            host->show();
            QVERIFY(QTest::qWaitForWindowExposed(host));
            QTRY_VERIFY_WITH_TIMEOUT(redInCentre(), kBound);
        }
        QVERIFY(player->isPaused());
    }

    // The render context is freed while the core it draws from is still running.
    void renderContextGoesBeforeItsCore() {
        std::unique_ptr<MpvCore> core = MpvCore::create({.renderVideo = true, .audio = false});
        QVERIFY(core != nullptr);
        QVERIFY2(core->renderContext() != nullptr, "no OpenGL in this X server");
        MpvCore* running = core.get();
        QString coreVersion;
        connect(core->renderContext(), &QObject::destroyed, this,
                [&] { coreVersion = running->stringProperty("mpv-version"); });
        core.reset();
        QVERIFY2(coreVersion.startsWith(u"mpv"_s), qPrintable(coreVersion));
    }

    // Whichever goes first, the window with everything in it or the player alone, nothing drawn
    // or freed later touches what is gone.
    void closedWhilePlaying_data() {
        QTest::addColumn<bool>("playerFirst");
        QTest::newRow("window closed") << false;
        QTest::newRow("player deleted, then the window") << true;
    }

    void closedWhilePlaying() {
        QFETCH(bool, playerFirst);
        auto window = std::make_unique<QWidget>();
        window->resize(320, 240);
        QPointer<MpvPlayer> player =
            MpvPlayer::create(window.get(), MpvOptions{.renderVideo = true, .audio = false});
        QVERIFY(player != nullptr);
        QPointer<QWidget> video = player->widget();
        QVERIFY(qobject_cast<MpvVideoWidget*>(video) != nullptr);
        video->setGeometry(window->rect());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QSignalSpy loaded(player, &MpvPlayer::fileLoaded);
        player->setSource(red_);
        player->play();
        QVERIFY(loaded.wait(kBound));
        QTRY_VERIFY_WITH_TIMEOUT(test::MpvProbe::position(*player) > 0.2, kBound);
        if (playerFirst) {
            delete player.data();
            // The video area stays and is drawn again at another size, without a picture.
            window->resize(400, 300);
            video->setGeometry(window->rect());
            QTRY_COMPARE_WITH_TIMEOUT(video->size(), QSize(400, 300), kBound);
            QCoreApplication::processEvents();
            QVERIFY(!video.isNull());
        }
        window.reset();
        QVERIFY(player.isNull());
        QVERIFY(video.isNull());
    }

private:
    QTemporaryDir folder_;
    QString red_;
};

}  // namespace tivora

QTEST_MAIN(tivora::TestMpvVideo)
#include "tst_mpvvideo.moc"
