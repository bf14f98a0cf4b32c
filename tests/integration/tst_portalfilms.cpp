// Portal films in Tivora's own player: the main window's real WebEngine panes against the demo
// portal on loopback, real mpv drawing into the pane, under an X server (run at scale 1 and 2).
#include "app/Forms.h"
#include "app/MainWindow.h"
#include "app/PortalFilms.h"
#include "app/PortalPicture.h"
#include "browser/WebEnginePane.h"
#include "demo-portal/Assets.h"
#include "demo-portal/DemoPortal.h"
#include "desktop/DesktopServices.h"
#include "forms/Control.h"
#include "forms/ControlWidgets.h"
#include "forms/PlayerControl.h"
#include "media/MpvPlayer.h"
#include "media/MpvProbe.h"
#include "playback/PlayerSurface.h"
#include "player/ResumeStore.h"
#include "support/EventLoopWait.h"
#include "support/TestHttpServer.h"
#include "support/WebEngineTestMain.h"

#include <QApplication>
#include <QMenu>
#include <QRegularExpression>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QWheelEvent>

#include <clocale>
#include <csignal>
#include <memory>
#include <optional>

using namespace Qt::StringLiterals;
using tivora::test::waitUntil;

namespace tivora {
namespace {

const QString kPlayPane = u"WebBrowser2"_s;
const QString kContentPane = u"WebBrowser3"_s;

}  // namespace

class TestPortalFilms final : public QObject {
    Q_OBJECT

private:
    MainWindow& main() { return forms_->mainWindow(); }
    WebEnginePane& pane(const QString& name) {
        return *qobject_cast<WebEnginePane*>(&main().browser(name));
    }
    void click(const QString& picture) {
        Q_EMIT qobject_cast<ClickableLabel*>(main().control(picture).widget())
            ->clicked(Qt::LeftButton);
    }
    // A script's answer, waited for in the event loop.
    QVariant evaluate(const QString& paneName, const QString& script) {
        // Shared: a page that goes without answering still calls back.
        auto answer = std::make_shared<std::optional<QVariant>>();
        pane(paneName).page()->runJavaScript(script, [answer](const QVariant& v) { *answer = v; });
        if (!waitUntil([&] { return answer->has_value(); })) {
            return {};
        }
        return **answer;
    }
    bool playing() {
        PlayerControl* player = films_->player();
        return player != nullptr && player->hasFile() && player->position() > 0.5;
    }
    // Loads a page into a pane and waits until its document is there.
    void load(const QString& paneName, const QString& address) {
        QSignalSpy completed(&main().browser(paneName), &BrowserPane::documentComplete);
        main().browser(paneName).navigate(address);
        QVERIFY(waitUntil([&] { return !completed.isEmpty(); }));
    }
    void openPlayPage(const QString& filmId) {
        main().control(u"Picture3"_s).setVisible(true);
        main().control(u"Frameleft"_s).setVisible(true);
        load(kPlayPane, root_ + u"/play/?"_s + filmId + u"-0-0.html"_s);
    }
    // The element's rectangle in the pane's widget pixels, as the page lays it out.
    QRect elementRect(const QString& paneName, const QString& selector) {
        const QVariantList r =
            evaluate(paneName,
                     u"(function(){var r=document.querySelector('%1')"
                     ".getBoundingClientRect();return [r.left,r.top,r.width,r.height];})()"_s.arg(
                         selector))
                .toList();
        if (r.size() != 4) {
            return {};
        }
        QWebEngineView* view = pane(paneName).view();
        const double zoom = view->page()->zoomFactor();
        const QPoint at = view->mapTo(pane(paneName).widget(), QPoint(0, 0));
        return {at.x() + qRound(r[0].toDouble() * zoom), at.y() + qRound(r[1].toDouble() * zoom),
                qRound(r[2].toDouble() * zoom), qRound(r[3].toDouble() * zoom)};
    }
    static bool near(const QRect& a, const QRect& b) {
        return std::abs(a.left() - b.left()) <= 2 && std::abs(a.top() - b.top()) <= 2 &&
               std::abs(a.right() - b.right()) <= 2 && std::abs(a.bottom() - b.bottom()) <= 2;
    }
    // The picture lies on the part of the element its frame shows. On the play page it may end
    // higher: the control bar floats over the bottom of the page.
    bool pictureOn(const QString& paneName, const QString& selector) {
        PortalPicture* picture = films_->picture();
        if (picture == nullptr || !picture->isVisible()) {
            return false;
        }
        QWidget* host = pane(paneName).widget();
        const QRect frame(host->mapFrom(host->parentWidget(), QPoint(0, 0)),
                          host->parentWidget()->size());
        const QRect element = elementRect(paneName, selector) & frame;
        const QRect shown = picture->geometry();
        if (paneName == kContentPane) {
            return near(shown, element);
        }
        return near(QRect(shown.topLeft(), QSize(shown.width(), element.height())), element) &&
               shown.bottom() <= element.bottom() && shown.height() > element.height() / 2;
    }
    void stopAll() {
        main().control(u"Frameleft"_s).setVisible(false);
        main().control(u"Picture3"_s).setVisible(false);
        load(kPlayPane, u"about:blank"_s);
        load(kContentPane, u"about:blank"_s);
        QVERIFY(waitUntil([&] { return films_->picture() == nullptr; }));
    }
    // A film page of the portal in the content pane, with markup added at its top.
    void portalPageWith(const QString& markup) {
        main().control(u"Framenr"_s).setVisible(true);
        load(kContentPane, root_ + u"/vrtata.asp?id=1005"_s);
        evaluate(kContentPane,
                 u"document.body.insertAdjacentHTML('afterbegin', %1); true"_s.arg(
                     jsString(u"<div style='padding:40px 24px'>"_s + markup + u"</div>"_s)));
    }
    void playOnPortalPage(const QString& address, const QString& options = QString()) {
        portalPageWith(u"<div id='x' style='width:400px;height:240px'></div>"_s);
        evaluate(
            kContentPane,
            u"window.errors = []; window.ended = false;"
            "tivora.addEventListener('error', function (e) { errors.push(e.detail.message); });"
            "tivora.addEventListener('ended', function () { window.ended = true; });"
            "tivora.play(%1, {element: document.getElementById('x')%2}); true"_s.arg(address,
                                                                                     options));
    }
    // Whether the picture's player gets on: the position moves past where it is now.
    bool playsOn() {
        const double at = films_->player()->position();
        return waitUntil([&] { return playing() && films_->player()->position() > at + 0.5; });
    }
    int playersIn(const QString& paneName) {
        return static_cast<int>(pane(paneName).widget()->findChildren<PlayerControl*>().size());
    }
    static QString jsString(const QString& text) {
        QString quoted = text;
        quoted.replace(u'\\', u"\\\\"_s).replace(u'\'', u"\\'"_s);
        return u'\'' + quoted + u'\'';
    }

private Q_SLOTS:
    void initTestCase() {
        std::setlocale(LC_NUMERIC, "C");
        QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, storage_.path());
        demo::PortalOptions options;
        options.database = ":memory:";
        portal_ = std::make_unique<demo::DemoPortal>(options);
        std::string error;
        QVERIFY2(portal_->start(&error), error.c_str());
        root_ = QString::fromStdString(portal_->root());
        services_ =
            std::make_unique<DesktopServices>(storage_.path(), QStringLiteral(TIVORA_BIN_DIR));
        forms_ = std::make_unique<Forms>(*services_, AppConfig{.portalRoot = root_});
        films_ = std::make_unique<PortalFilms>(*services_, QUrl(root_),
                                               ResumeStore(storage_.filePath(u"resume.json"_s)));
        main().show();
        films_->watchPanesOf(main());
        other_.page(u"/frame.html"_s,
                    u"<script>parent.postMessage(typeof window.tivora + ' ' + "
                    "typeof (window.qt && qt.webChannelTransport), '*');</script>"_s);
        other_.start();
        // Cut off a little after nine seconds of the twenty.
        const QByteArray film = QByteArray::fromStdString(demo::Assets::bytes("hd.mp4"));
        QVERIFY(!film.isEmpty());
        broken_.brokenFile(u"/cut.mp4"_s, film, film.size() * 9 / 20,
                           test::TestHttpServer::Break::Cut, u"video/mp4"_s);
        broken_.brokenFile(u"/stalled.mp4"_s, film, film.size() * 9 / 20,
                           test::TestHttpServer::Break::Stall, u"video/mp4"_s);
        broken_.start();
    }

    void cleanupTestCase() {
        films_.reset();
        forms_.reset();
        services_.reset();
        portal_->stop();
        other_.stop();
        broken_.stop();
    }

    void cleanup() {
        stopAll();
        films_->setStallLimit(PortalFilms::kStallLimit);
    }

    void playPageHandsItsFilmToTheOwnPlayer_data() {
        QTest::addColumn<QString>("filmId");
        QTest::addColumn<QString>("film");
        // The lines of the subtitle file the page names, one of which shows while the film plays.
        QTest::addColumn<QString>("subtitle");
        QTest::newRow("720p H.264")
            << u"1001"_s << u"/media/hd.mp4"_s << u"演示影片|网页提供|观影愉快"_s;
        QTest::newRow("HLS") << u"1002"_s << u"/media/stream.m3u8"_s << QString();
        QTest::newRow("RealMedia") << u"1003"_s << u"/media/classic.rm"_s << QString();
    }

    void playPageHandsItsFilmToTheOwnPlayer() {
        QFETCH(QString, filmId);
        QFETCH(QString, film);
        openPlayPage(filmId);
        QVERIFY(waitUntil([&] { return playing(); }));
        QCOMPARE(films_->filmAddress(), root_ + film);
        const double at = films_->player()->position();
        QVERIFY(waitUntil([&] { return playing() && films_->player()->position() > at + 0.5; }));
        QVERIFY(waitUntil([&] { return pictureOn(kPlayPane, u"#player"_s); }));
        // The page's own element stays, without playing anything.
        QCOMPARE(evaluate(kPlayPane, u"document.getElementById('player').paused"_s).toBool(), true);
        QVERIFY(films_->picture()->surface() != nullptr);
        QFETCH(QString, subtitle);
        if (!subtitle.isEmpty()) {
            auto* mpv = qobject_cast<MpvPlayer*>(films_->player());
            QVERIFY(mpv != nullptr);
            const QRegularExpression lines(subtitle);
            QVERIFY(waitUntil([&] { return test::MpvProbe::subtitle(*mpv).contains(lines); }));
        }
    }

    void stopPictureFreesThePlayer() {
        openPlayPage(u"1001"_s);
        QVERIFY(waitUntil([&] { return playing(); }));
        QPointer<PlayerControl> player = films_->player();
        click(u"Image16"_s);
        QVERIFY(waitUntil([&] { return player.isNull() && films_->picture() == nullptr; }));
    }

    void stoppedFilmResumesWhereItWasLeft() {
        openPlayPage(u"1005"_s);
        QVERIFY(waitUntil([&] { return playing() && films_->player()->position() > 4; }));
        click(u"Image16"_s);
        QVERIFY(waitUntil([&] { return films_->picture() == nullptr; }));
        openPlayPage(u"1005"_s);
        QVERIFY(waitUntil([&] {
            PortalPicture* picture = films_->picture();
            return picture != nullptr && picture->banner() == u"从上次位置继续播放"_s;
        }));
        QVERIFY(waitUntil([&] { return playing() && films_->player()->position() > 3; }));
    }

    void backToTheHallKeepsPlayingAndNowPlayingShowsIt() {
        openPlayPage(u"1001"_s);
        QVERIFY(waitUntil([&] { return playing() && pictureOn(kPlayPane, u"#player"_s); }));
        click(u"Image17"_s);
        QVERIFY(!films_->picture()->isVisible());
        const double at = films_->player()->position();
        QVERIFY(waitUntil([&] { return playing() && films_->player()->position() > at + 1; }));
        QVERIFY(!films_->player()->isPaused());
        click(u"Image23"_s);
        QVERIFY(waitUntil([&] { return pictureOn(kPlayPane, u"#player"_s); }));
    }

    void pageUnderTheWholePictureRestsWhileNothingOfItShows() {
        openPlayPage(u"1001"_s);
        QVERIFY(waitUntil([&] { return playing() && pictureOn(kPlayPane, u"#player"_s); }));
        QWebEnginePage* page = pane(kPlayPane).view()->page();
        const auto rests = [&] {
            return !page->isVisible() && films_->picture()->isVisible() &&
                   evaluate(kPlayPane, u"document.visibilityState"_s) == u"hidden"_s;
        };
        QVERIFY(waitUntil(rests));
        QVERIFY(playsOn());
        // A resized view wakes it to lay itself out again; the picture follows, and it rests.
        QWidget* window = main().window();
        window->resize(window->width() + 120, window->height() + 60);
        QVERIFY(waitUntil([&] { return pictureOn(kPlayPane, u"#player"_s) && rests(); }));
        // An element that no longer fills the view leaves the page to be seen.
        const QString size =
            u"var p = document.getElementById('player');"
            "p.style.width = p.style.height = '%1'; true"_s;
        evaluate(kPlayPane, size.arg(u"50%"_s));
        QVERIFY(waitUntil([&] { return page->isVisible() && pictureOn(kPlayPane, u"#player"_s); }));
        evaluate(kPlayPane, size.arg(u"100%"_s));
        QVERIFY(waitUntil(rests));
        // The page stops its film: it shows again.
        evaluate(kPlayPane, u"tivora.stop(); true"_s);
        QVERIFY(waitUntil([&] { return films_->picture() == nullptr && page->isVisible(); }));
    }

    void pagesOwnPlayersAreTakenOver_data() {
        QTest::addColumn<QString>("markup");
        QTest::addColumn<QString>("film");
        QTest::newRow("video") << u"<video id='x' src='/media/hd.mp4' autoplay muted "
                                  "style='width:480px;height:270px'></video>"_s
                               << u"/media/hd.mp4"_s;
        QTest::newRow("video source")
            << u"<video id='x' autoplay style='width:400px;height:300px'>"
               "<source src='/media/feature.webm' type='video/webm'></video>"_s
            << u"/media/feature.webm"_s;
        QTest::newRow("RealMedia embed")
            << u"<embed id='x' type='audio/x-pn-realaudio-plugin' src='/media/classic.rm' "
               "width='352' height='288'>"_s
            << u"/media/classic.rm"_s;
    }

    void pagesOwnPlayersAreTakenOver() {
        QFETCH(QString, markup);
        QFETCH(QString, film);
        portalPageWith(markup);
        QVERIFY(waitUntil([&] { return playing(); }));
        QCOMPARE(films_->filmAddress(), root_ + film);
        QVERIFY(waitUntil([&] { return pictureOn(kContentPane, u"#x"_s); }));
        QCOMPARE(evaluate(kContentPane, u"document.getElementById('x').dataset.tivora"_s),
                 QVariant(u"taken"_s));
        if (markup.startsWith(u"<video"_s)) {
            QCOMPARE(evaluate(kContentPane,
                              u"var v=document.getElementById('x');"
                              "v.paused && v.muted"_s),
                     QVariant(true));
        }
    }

    void pictureFollowsTheElementThroughScrollAndResize() {
        portalPageWith(
            u"<video id='x' src='/media/hd.mp4' style='position:relative;"
            "left:30px;top:40px;width:50%;height:240px'></video>"
            "<div style='height:3000px'></div>"_s);
        QVERIFY(waitUntil([&] { return playing() && pictureOn(kContentPane, u"#x"_s); }));
        const int top = films_->picture()->geometry().top();
        evaluate(kContentPane, u"window.scrollBy(0, 30); true"_s);
        QVERIFY(waitUntil([&] {
            return pictureOn(kContentPane, u"#x"_s) &&
                   films_->picture()->geometry().top() < top - 20;
        }));
        QWidget* window = main().window();
        window->resize(window->width() + 120, window->height() + 60);
        QVERIFY(waitUntil([&] { return pictureOn(kContentPane, u"#x"_s); }));
    }

    void takeoverCanBeTurnedOffAndBlobPlayersStayInThePage_data() {
        QTest::addColumn<bool>("takeover");
        QTest::addColumn<QString>("markup");
        QTest::newRow("takeover off") << false << u"<video id='x' src='/media/hd.mp4'></video>"_s;
        QTest::newRow("blob") << true << u"<video id='x' src='blob:null/123'></video>"_s;
    }

    void takeoverCanBeTurnedOffAndBlobPlayersStayInThePage() {
        QFETCH(bool, takeover);
        QFETCH(QString, markup);
        films_->setTakeover(takeover);
        portalPageWith(markup);
        // Turned off, the portal's pages play their films themselves. Else the page's script
        // has looked at the element by the time a later script runs.
        QCOMPARE(evaluate(kContentPane, u"typeof window.tivora"_s),
                 QVariant(takeover ? u"object"_s : u"undefined"_s));
        QCOMPARE(evaluate(kContentPane,
                          u"document.getElementById('x').dataset.tivora === "
                          "undefined"_s),
                 QVariant(true));
        QVERIFY(films_->picture() == nullptr);
        films_->setTakeover(true);
        QVERIFY(films_->takeover());
    }

    void otherOriginsGetNoPlayerObject() {
        // The same server under another host name is another origin.
        const QString other = QString(root_).replace(u"127.0.0.1"_s, u"localhost"_s);
        QVERIFY(other != root_);
        main().control(u"Picture3"_s).setVisible(true);
        main().control(u"Frameleft"_s).setVisible(true);
        load(kPlayPane, other + u"/play/?1001-0-0.html"_s);
        QCOMPARE(evaluate(kPlayPane, u"typeof window.tivora"_s), QVariant(u"undefined"_s));
        // Its page plays the film itself.
        QVERIFY(waitUntil([&] {
            return evaluate(kPlayPane, u"document.getElementById('player').currentTime > 0"_s)
                .toBool();
        }));
        QVERIFY(films_->picture() == nullptr);

        // The listener is in place before the frame can post.
        portalPageWith(QString());
        evaluate(kContentPane,
                 u"window.addEventListener('message', function (e) {"
                 "window.frameSaw = e.data; }); true"_s);
        evaluate(kContentPane,
                 u"document.body.insertAdjacentHTML('afterbegin', %1); true"_s.arg(
                     jsString(u"<iframe src='%1/frame.html'></iframe>"_s.arg(other_.root()))));
        QVERIFY(waitUntil([&] {
            return evaluate(kContentPane, u"window.frameSaw || ''"_s).toString() != QString();
        }));
        QCOMPARE(evaluate(kContentPane, u"window.frameSaw"_s).toString().section(u' ', 0, 0),
                 u"undefined"_s);
    }

    void unsafeAddressesAreRefused_data() {
        QTest::addColumn<QString>("address");
        QTest::newRow("file") << u"'file:///etc/passwd'"_s;
        QTest::newRow("edl") << u"'edl://http://x/a.mp4'"_s;
        QTest::newRow("av") << u"'av://lavfi:sine'"_s;
        QTest::newRow("lavfi") << u"'lavfi://sine'"_s;
        QTest::newRow("memory") << u"'memory://abc'"_s;
        QTest::newRow("not a string") << u"{href: 'http://x/'}"_s;
        QTest::newRow("ten megabytes") << u"'http://a/' + 'x'.repeat(10 * 1024 * 1024)"_s;
    }

    void unsafeAddressesAreRefused() {
        QFETCH(QString, address);
        portalPageWith(u"<div id='x' style='width:200px;height:100px'></div>"_s);
        evaluate(kContentPane,
                 u"window.errors = []; tivora.addEventListener('error', function (e) {"
                 " window.errors.push(e.detail.message); });"
                 "tivora.play(%1, {element: document.getElementById('x')}); true"_s.arg(address));
        QVERIFY(waitUntil(
            [&] { return evaluate(kContentPane, u"window.errors.length"_s).toInt() > 0; }));
        QVERIFY(evaluate(kContentPane, u"window.errors[0]"_s).toString().startsWith(u"无法播放"_s));
        QVERIFY(films_->picture() == nullptr);
    }

    void filmThatFailsShowsWhyInItsPlace() {
        portalPageWith(u"<div id='x' style='width:400px;height:240px'></div>"_s);
        evaluate(kContentPane,
                 u"tivora.play(location.origin + '/media/none.mp4', "
                 "{element: document.getElementById('x')}); true"_s);
        QVERIFY(waitUntil([&] {
            PortalPicture* picture = films_->picture();
            return picture != nullptr && picture->message().startsWith(u"无法播放该影片："_s);
        }));
        QVERIFY(films_->picture()->player() == nullptr);
    }

    void filmStopsWhenItsPageGoes_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("another page") << u"navigate"_s;
        QTest::newRow("renderer killed") << u"kill"_s;
        QTest::newRow("element removed") << u"remove"_s;
        QTest::newRow("page stops it") << u"stop"_s;
    }

    void filmStopsWhenItsPageGoes() {
        QFETCH(QString, how);
        openPlayPage(u"1001"_s);
        QVERIFY(waitUntil([&] { return playing(); }));
        const QPointer<PlayerControl> player = films_->player();
        if (how == u"navigate"_s) {
            load(kPlayPane, root_ + u"/ty_00.html"_s);
        } else if (how == u"kill"_s) {
            const qint64 pid = pane(kPlayPane).page()->renderProcessPid();
            QVERIFY(pid > 0);
            QCOMPARE(::kill(static_cast<pid_t>(pid), SIGKILL), 0);
        } else if (how == u"remove"_s) {
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"removed the element"_s));
            evaluate(kPlayPane, u"document.getElementById('player').remove(); true"_s);
        } else {
            evaluate(kPlayPane, u"tivora.stop(); true"_s);
        }
        QVERIFY(waitUntil([&] { return player.isNull() && films_->picture() == nullptr; }));
        QCOMPARE(playersIn(kPlayPane), 0);
        QVERIFY(!services_->keepsAwake(films_.get()));
        if (how == u"kill"_s) {
            // The pane loads the page again, which plays its film anew.
            QVERIFY(waitUntil([&] { return playing(); }));
        }
        // The pane goes on to the next film.
        openPlayPage(u"1005"_s);
        QVERIFY(waitUntil([&] { return playing(); }));
    }

    void pictureTakesThePlayersKeys_data() {
        QTest::addColumn<int>("key");  // 0: the wheel, turned towards the user
        QTest::newRow("Space pauses") << int(Qt::Key_Space);
        QTest::newRow("Right seeks on") << int(Qt::Key_Right);
        QTest::newRow("Down is quieter") << int(Qt::Key_Down);
        QTest::newRow("M mutes") << int(Qt::Key_M);
        QTest::newRow("wheel is quieter") << 0;
    }

    void pictureTakesThePlayersKeys() {
        QFETCH(int, key);
        openPlayPage(u"1001"_s);
        QVERIFY(waitUntil([&] { return playing() && pictureOn(kPlayPane, u"#player"_s); }));
        PlayerControl* player = films_->player();
        const int volume = player->volume();
        const double at = player->position();
        if (key == 0) {
            QWidget* video = player->widget();
            const QPointF inside(video->width() / 2.0, video->height() / 2.0);
            QWheelEvent wheel(inside, video->mapToGlobal(inside), QPoint(), QPoint(0, -120),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(video, &wheel);
        } else {
            QTest::keyClick(films_->picture()->surface(), static_cast<Qt::Key>(key));
        }
        QVERIFY(waitUntil([&] {
            switch (key) {
                case Qt::Key_Space:
                    return player->isPaused();
                case Qt::Key_Right:
                    return player->position() > at + 3;
                case Qt::Key_M:
                    return player->isMuted();
                default:
                    return player->volume() < volume;
            }
        }));
    }

    void fullScreenFillsTheScreenAndComesBackToTheElement_data() {
        QTest::addColumn<bool>("keys");
        QTest::newRow("F and Esc") << true;
        QTest::newRow("double-click") << false;
    }

    void fullScreenFillsTheScreenAndComesBackToTheElement() {
        QFETCH(bool, keys);
        openPlayPage(u"1001"_s);
        QVERIFY(waitUntil([&] { return playing() && pictureOn(kPlayPane, u"#player"_s); }));
        PlayerSurface* surface = films_->picture()->surface();
        QWidget* video = films_->player()->widget();
        if (keys) {
            QTest::keyClick(surface, Qt::Key_F);
        } else {
            QTest::mouseDClick(video, Qt::LeftButton);
        }
        QVERIFY(waitUntil([&] {
            QWidget* stage = surface->stage();
            return stage != nullptr && stage->isVisible() && stage->screen() != nullptr &&
                   stage->geometry() == stage->screen()->geometry() && video->window() == stage;
        }));
        QVERIFY(playsOn());
        if (keys) {
            QTest::keyClick(surface->stage(), Qt::Key_Escape);
        } else {
            QTest::mouseDClick(video, Qt::LeftButton);
        }
        QVERIFY(waitUntil([&] {
            return !surface->inFullScreen() && video->window() == main().window() &&
                   pictureOn(kPlayPane, u"#player"_s) &&
                   surface->geometry() == films_->picture()->rect();
        }));
        QVERIFY(playsOn());
    }

    void onlyOneFilmPlaysAtATime() {
        openPlayPage(u"1001"_s);
        QVERIFY(waitUntil([&] { return playing(); }));
        // The local player, as its window gets it.
        QWidget window;
        window.resize(320, 240);
        PlayerControl* local = services_->createPlayer(&window);
        local->widget()->resize(window.size());
        window.show();
        local->setSource(root_ + u"/media/feature.webm"_s);
        local->play();
        QVERIFY(waitUntil([&] {
            return local->hasFile() && !local->isPaused() && films_->player()->isPaused();
        }));
        evaluate(kPlayPane, u"tivora.resume(); true"_s);
        QVERIFY(waitUntil([&] { return !films_->player()->isPaused() && local->isPaused(); }));
    }

    void handingBackPlaysOnInThePage() {
        openPlayPage(u"1001"_s);
        QVERIFY(waitUntil([&] {
            return playing() && films_->player()->position() > 3 &&
                   pictureOn(kPlayPane, u"#player"_s);
        }));
        const QPointer<PlayerControl> player = films_->player();
        const double at = player->position();
        bool chosen = false;
        QTimer choose;
        choose.setInterval(50);
        connect(&choose, &QTimer::timeout, this, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            for (QAction* action : menu != nullptr ? menu->actions() : QList<QAction*>()) {
                if (action->text() == u"使用网页播放"_s) {
                    chosen = true;
                    choose.stop();
                    action->trigger();
                    menu->close();
                }
            }
        });
        choose.start();
        QTest::mousePress(player->widget(), Qt::RightButton, {}, QPoint(20, 20));
        QVERIFY(waitUntil([&] { return chosen; }));
        QVERIFY(waitUntil([&] { return player.isNull() && films_->picture() == nullptr; }));
        QVERIFY(waitUntil([&] {
            return evaluate(
                       kPlayPane,
                       u"var v = document.getElementById('player');"
                       "v.dataset.tivora === 'page' && !v.paused && v.currentTime > %1"_s.arg(at))
                .toBool();
        }));
    }

    void sleepIsKeptAwayWhileTheFilmPlays() {
        openPlayPage(u"1001"_s);
        QVERIFY(waitUntil([&] { return playing(); }));
        const void* films = films_.get();
        QVERIFY(waitUntil([&] { return services_->keepsAwake(films); }));
        evaluate(kPlayPane, u"tivora.pause(); true"_s);
        QVERIFY(waitUntil(
            [&] { return films_->player()->isPaused() && !services_->keepsAwake(films); }));
        evaluate(kPlayPane, u"tivora.resume(); true"_s);
        QVERIFY(waitUntil([&] { return services_->keepsAwake(films); }));
        click(u"Image16"_s);
        QVERIFY(waitUntil(
            [&] { return films_->picture() == nullptr && !services_->keepsAwake(films); }));
    }

    void liveTvPlaysInTheOwnPlayer() {
        main().control(u"Framenr"_s).setVisible(true);
        load(kContentPane, root_ + u"/tv"_s);
        QVERIFY(waitUntil([&] { return playing() && pictureOn(kContentPane, u"#screen"_s); }));
        const QString channel =
            u"new URL(document.querySelectorAll('#channel-list a')[%1].dataset.video,"
            " location.href).href"_s;
        QCOMPARE(films_->filmAddress(), evaluate(kContentPane, channel.arg(0)).toString());
        QCOMPARE(evaluate(kContentPane, u"document.getElementById('screen').paused"_s),
                 QVariant(true));
        const QString last = u"document.querySelectorAll('#channel-list a').length - 1"_s;
        const QString other = evaluate(kContentPane, channel.arg(last)).toString();
        QVERIFY(other != films_->filmAddress());
        evaluate(kContentPane,
                 u"document.querySelectorAll('#channel-list a')[%1].click(); true"_s.arg(last));
        QVERIFY(waitUntil([&] { return films_->filmAddress() == other && playing(); }));
        QVERIFY(waitUntil([&] { return pictureOn(kContentPane, u"#screen"_s); }));
        QCOMPARE(playersIn(kContentPane), 1);
    }

    void brokenStreamShowsWhyAndKeepsItsPlace_data() {
        QTest::addColumn<QString>("film");
        QTest::addColumn<QString>("why");
        QTest::newRow("connection cut") << u"/cut.mp4"_s << u"中断"_s;
        QTest::newRow("stream stalls") << u"/stalled.mp4"_s << u"长时间"_s;
    }

    void brokenStreamShowsWhyAndKeepsItsPlace() {
        QFETCH(QString, film);
        QFETCH(QString, why);
        if (film == u"/stalled.mp4"_s) {
            films_->setStallLimit(std::chrono::seconds(3));
        }
        const QString address = broken_.root() + film;
        playOnPortalPage(jsString(address), u", start: 6"_s);
        QVERIFY(waitUntil(
            [&] {
                PortalPicture* picture = films_->picture();
                return picture != nullptr && picture->message().startsWith(u"无法播放该影片："_s);
            },
            60000));
        QVERIFY2(films_->picture()->message().contains(why),
                 qPrintable(films_->picture()->message()));
        QVERIFY(films_->picture()->player() == nullptr);
        QCOMPARE(playersIn(kContentPane), 0);
        QVERIFY(waitUntil(
            [&] { return evaluate(kContentPane, u"window.errors.length"_s).toInt() == 1; }));
        QCOMPARE(evaluate(kContentPane, u"window.ended"_s), QVariant(false));
        const std::optional<double> kept =
            ResumeStore(storage_.filePath(u"resume.json"_s)).position(address);
        QVERIFY(kept.has_value() && *kept > 6);
    }

    void burstOfCallsIsCutToARateWithOneWarning() {
        playOnPortalPage(u"location.origin + '/media/hd.mp4'"_s);
        QVERIFY(waitUntil([&] { return playing(); }));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"too often"_s));
        QTest::failOnWarning(QRegularExpression(u"too often"_s));
        evaluate(kContentPane,
                 u"var x = document.getElementById('x'); var calls = ["
                 "function () { tivora.pause(); }, function () { tivora.resume(); },"
                 "function (i) { tivora.seek(i % 7); }, function () {"
                 " tivora.play(location.origin + '/media/feature.webm', {element: x}); }];"
                 "for (var i = 0; i < 1000; ++i) { calls[i % 4](i); } true"_s);
        // The burst's last film, in one picture with one player, as the burst's last call left it.
        QVERIFY(waitUntil([&] {
            return films_->filmAddress() == root_ + u"/media/feature.webm"_s &&
                   films_->player() != nullptr && films_->player()->hasFile() &&
                   playersIn(kContentPane) == 1 &&
                   pane(kContentPane).widget()->findChildren<PortalPicture*>().size() == 1;
        }));
        // Calls are taken again once the rate's second is over.
        QTest::qWait(1100);
        evaluate(kContentPane, u"tivora.resume(); true"_s);
        QVERIFY(waitUntil([&] { return playing(); }));
        QVERIFY(playsOn());
        QCOMPARE(evaluate(kContentPane, u"typeof window.tivora"_s), QVariant(u"object"_s));
    }

    void wrongTypesAreRefusedWhileTheFilmPlaysOn_data() {
        QTest::addColumn<QString>("call");
        QTest::newRow("seek to text") << u"tivora.seek('abc')"_s;
        QTest::newRow("seek to an object") << u"tivora.seek({seconds: 5})"_s;
        QTest::newRow("seek to infinity") << u"tivora.seek(Infinity)"_s;
    }

    void wrongTypesAreRefusedWhileTheFilmPlaysOn() {
        QFETCH(QString, call);
        playOnPortalPage(u"location.origin + '/media/hd.mp4'"_s);
        QVERIFY(waitUntil([&] { return playing(); }));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"no number"_s));
        evaluate(kContentPane, call + u"; true"_s);
        QVERIFY(playsOn());
        QVERIFY(films_->player()->position() < 10);
    }

    void elementMovedElsewhereTakesThePictureAlong() {
        portalPageWith(
            u"<video id='x' src='/media/hd.mp4' style='width:320px;height:180px'>"
            "</video><p id='end' style='margin-top:120px'></p>"_s);
        QVERIFY(waitUntil([&] { return playing() && pictureOn(kContentPane, u"#x"_s); }));
        const int top = films_->picture()->geometry().top();
        evaluate(kContentPane,
                 u"document.getElementById('end').after(document.getElementById('x'));"
                 "true"_s);
        QVERIFY(waitUntil([&] {
            return pictureOn(kContentPane, u"#x"_s) &&
                   films_->picture()->geometry().top() > top + 100;
        }));
        QVERIFY(playsOn());
    }

    void endingTheProgramFreesThePlayer() {
        openPlayPage(u"1001"_s);
        QVERIFY(waitUntil([&] { return playing(); }));
        const QPointer<PlayerControl> player = films_->player();
        const void* films = films_.get();
        films_.reset();
        QVERIFY(player.isNull());
        QCOMPARE(playersIn(kPlayPane), 0);
        QVERIFY(!services_->keepsAwake(films));
        films_ = std::make_unique<PortalFilms>(*services_, QUrl(root_),
                                               ResumeStore(storage_.filePath(u"resume.json"_s)));
        films_->watchPanesOf(main());
    }

private:
    std::unique_ptr<demo::DemoPortal> portal_;
    QString root_;
    QTemporaryDir storage_;
    std::unique_ptr<DesktopServices> services_;
    std::unique_ptr<Forms> forms_;
    std::unique_ptr<PortalFilms> films_;
    test::TestHttpServer other_;
    test::TestHttpServer broken_;
};

}  // namespace tivora

TIVORA_WEBENGINE_TEST_MAIN(tivora::TestPortalFilms)
#include "tst_portalfilms.moc"
