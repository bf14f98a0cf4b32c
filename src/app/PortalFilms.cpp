#include "app/PortalFilms.h"

#include "app/MainWindow.h"
#include "app/PortalPicture.h"
#include "browser/PortalBridge.h"
#include "browser/WebEnginePane.h"
#include "forms/BrowserPane.h"
#include "forms/Logging.h"
#include "forms/PlayerControl.h"
#include "forms/Services.h"
#include "media/MpvLibrary.h"
#include "media/MpvPlayer.h"
#include "portal/MainWindowControls.h"

#include <QCoreApplication>
#include <QSettings>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

const QString kResumed = u"从上次位置继续播放"_s;
const QString kStalled = u"无法播放该影片：服务器长时间没有送来影片数据。"_s;
const QString kCutOff = u"无法播放该影片：与服务器的连接在影片放完之前中断了。"_s;
// An end this far before the film's length is a stream that broke off (at least two seconds, for
// lengths that containers only estimate).
constexpr double kEarlyEndShare = 0.03;
constexpr double kEarlyEndSeconds = 2;
constexpr int kStartDelayMs = 100;

std::unique_ptr<QSettings> settings() {
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QCoreApplication::organizationName(),
                                       QCoreApplication::applicationName());
}

// The part of widget, in its own pixels, that its containers do not cut off and that the widgets
// laid over them (the main window's floating bar) leave free at the top or bottom: the video is a
// native window and would cover them.
QRect unobscured(const QWidget& widget) {
    QRect area = widget.rect();
    QPoint offset(0, 0);
    for (const QWidget* w = &widget; w->parentWidget() != nullptr && !w->isWindow();
         w = w->parentWidget()) {
        const QWidget* parent = w->parentWidget();
        offset += w->pos();
        QRect inParent = area.translated(offset) & parent->rect();
        const QObjectList& siblings = parent->children();
        for (auto it = siblings.begin() + siblings.indexOf(w) + 1; it != siblings.end(); ++it) {
            const auto* above = qobject_cast<const QWidget*>(*it);
            if (above == nullptr || above->isHidden() || above->isWindow() ||
                !above->geometry().intersects(inParent)) {
                continue;
            }
            if (above->geometry().center().y() > inParent.center().y()) {
                inParent.setBottom(std::min(inParent.bottom(), above->geometry().top() - 1));
            } else {
                inParent.setTop(std::max(inParent.top(), above->geometry().bottom() + 1));
            }
        }
        area = inParent.translated(-offset);
    }
    return area;
}

}  // namespace

PortalFilms::PortalFilms(Services& services, QUrl portalRoot, ResumeStore resume)
    : services_(services), portalRoot_(std::move(portalRoot)), resume_(std::move(resume)) {
    setStallLimit(kStallLimit);
    pendingStart_.setSingleShot(true);
    connect(&pendingStart_, &QTimer::timeout, this, &PortalFilms::start);
    connect(&progressCheck_, &QTimer::timeout, this, &PortalFilms::checkProgress);
}

PortalFilms::~PortalFilms() {
    // At once: the event loop may be over.
    stop(true);
}

void PortalFilms::watch(WebEnginePane& pane) {
    connect(&pane, &WebEnginePane::pageMade, this,
            [this, pane = &pane](QWebEnginePage* page) { attach(page, pane); });
    if (pane.view() != nullptr) {
        attach(pane.view()->page(), &pane);
    }
}

void PortalFilms::watchPanesOf(MainWindow& window) {
    // Once the film list is in, the player's library loads on the side for the first film.
    connect(&window.browser(main_window::kListPane), &BrowserPane::documentComplete, this,
            [] { preloadMpvLibrary(); });
    for (const QStringView name : {main_window::kPlayPane, main_window::kContentPane}) {
        if (auto* pane = qobject_cast<WebEnginePane*>(&window.browser(name))) {
            watch(*pane);
        }
    }
}

QString PortalFilms::takeoverKey() const {
    // "http://127.0.0.1:8080" is kept as "portal-films/http___127.0.0.1_8080".
    QString key = PortalBridge::originOf(portalRoot_);
    for (QChar& c : key) {
        if (!c.isLetterOrNumber() && c != u'.' && c != u'-') {
            c = u'_';
        }
    }
    return u"portal-films/"_s + key;
}

bool PortalFilms::takeover() const {
    return settings()->value(takeoverKey(), true).toBool();
}

void PortalFilms::setTakeover(bool on) {
    settings()->setValue(takeoverKey(), on);
    std::erase_if(bridges_, [](const QPointer<PortalBridge>& b) { return b.isNull(); });
    for (const QPointer<PortalBridge>& bridge : bridges_) {
        bridge->setEnabled(on);
    }
    if (picture_) {
        picture_->setTakeoverShown(on);
    }
}

void PortalFilms::attach(QWebEnginePage* page, WebEnginePane* pane) {
    auto* bridge = new PortalBridge(*page, portalRoot_, takeover());
    // While the first page loads, the player's library loads on the side for its film.
    connect(page, &QWebEnginePage::loadStarted, this, [] { preloadMpvLibrary(); });
    bridges_.emplace_back(bridge);
    PortalPageApi& api = bridge->api();
    connect(&api, &PortalPageApi::playRequested, this,
            [this, bridge, pane](const PortalFilmRequest& request) {
                if (bridge->showsPortalPage()) {
                    play(bridge, pane, request);
                }
            });
    const auto ours = [this, bridge] { return bridge == bridge_ && picture_ != nullptr; };
    connect(&api, &PortalPageApi::pauseRequested, this, [this, ours] {
        if (ours() && picture_->player() != nullptr) {
            picture_->player()->setPaused(true);
        }
    });
    connect(&api, &PortalPageApi::resumeRequested, this, [this, ours] {
        if (ours() && picture_->player() != nullptr) {
            picture_->player()->setPaused(false);
        }
    });
    connect(&api, &PortalPageApi::seekRequested, this, [this, ours](double seconds) {
        if (ours() && picture_->player() != nullptr) {
            picture_->player()->seekTo(seconds);
        }
    });
    connect(&api, &PortalPageApi::stopRequested, this, [this, ours] {
        if (ours()) {
            stop();
        }
    });
    connect(&api, &PortalPageApi::placed, this,
            [this, bridge](const QRectF& css, bool shown, bool pageHidden) {
                place(bridge, css, shown, pageHidden);
            });
    connect(bridge, &PortalBridge::pageLeft, this, [this, bridge] {
        if (bridge == bridge_) {
            stop();
        }
    });
    connect(bridge, &QObject::destroyed, this, [this] {
        // bridge_ is cleared by now: whatever it played goes with its page.
        if (bridge_.isNull() && picture_ != nullptr) {
            stop();
        }
    });
}

void PortalFilms::play(PortalBridge* bridge, WebEnginePane* pane,
                       const PortalFilmRequest& request) {
    // A film starts at once; of a burst of films after it, only the last opens a player, a moment
    // after the one before.
    const bool burst = sinceStart_.isValid() && !sinceStart_.hasExpired(kStartDelayMs);
    stop();
    film_ = request;
    bridge_ = bridge;
    pane_ = pane;
    if (burst) {
        pendingStart_.start(
            static_cast<int>(std::max<qint64>(0, kStartDelayMs - sinceStart_.elapsed())));
    } else {
        start();
    }
}

void PortalFilms::start() {
    sinceStart_.start();
    if (pane_.isNull() || bridge_.isNull()) {
        return;
    }
    delete picture_.data();
    picture_ = new PortalPicture(services_, pane_->widget());
    picture_->setTakeoverShown(takeover());
    connect(picture_, &PortalPicture::retryRequested, this, [this] {
        picture_->hide();
        picture_->deleteLater();
        picture_.clear();
        start();
    });
    connect(picture_, &PortalPicture::handBackRequested, this, &PortalFilms::handBack);
    connect(picture_, &PortalPicture::takeoverToggled, this, &PortalFilms::setTakeover);
    PlayerControl* player = picture_->player();
    started_ = false;
    playedTo_ = 0;
    length_ = 0;
    if (auto* mpv = qobject_cast<MpvPlayer*>(player)) {
        mpv->setSubtitleFiles(film_.subtitles);
    }
    connect(player, &PlayerControl::stateChanged, this, &PortalFilms::followPlayer);
    connect(player, &PlayerControl::endReached, this, [this, player] {
        // A connection that breaks off ends the stream early: that is no end of the film.
        if (length_ > 0 &&
            player->position() < length_ - std::max(kEarlyEndSeconds, length_ * kEarlyEndShare)) {
            fail(kCutOff);
            return;
        }
        resume_.forget(resumeKey());
        playedTo_ = 0;
        if (bridge_) {
            Q_EMIT bridge_->api().ended();
        }
    });
    connect(player, &PlayerControl::failed, this, [this](const QString& reason) {
        // Only a film that cannot play at all; a film without picture still plays its sound.
        if (!reason.startsWith(u"无法播放"_s)) {
            return;
        }
        fail(reason.startsWith(u"无法播放该影片"_s)
                 ? reason
                 : u"无法播放该影片："_s + reason.section(u'：', 1));
    });
    progressAt_ = -1;
    sinceProgress_.start();
    progressCheck_.start();
    if (QWebEngineView* view = pane_->view()) {
        view->installEventFilter(this);
    }
    layOut();
    player->setSource(film_.address);
    player->play();
}

void PortalFilms::followPlayer() {
    PlayerControl* player = picture_ ? picture_->player() : nullptr;
    if (player == nullptr) {
        return;
    }
    services_.keepAwake(this, player->hasFile() && !player->isPaused());
    if (!player->hasFile()) {
        return;
    }
    if (!started_) {
        started_ = true;
        if (film_.start >= 0) {
            player->seekTo(film_.start);
        } else if (const auto at = resume_.position(resumeKey())) {
            player->seekTo(*at);
            picture_->showBanner(kResumed);
        }
    }
    if (player->position() > 0) {
        playedTo_ = player->position();
        length_ = player->duration();
    }
    if (bridge_ && (!sincePosition_.isValid() || sincePosition_.hasExpired(kPositionIntervalMs))) {
        sincePosition_.start();
        Q_EMIT bridge_->api().positionChanged(player->position(), player->duration());
    }
}

void PortalFilms::checkProgress() {
    PlayerControl* player = this->player();
    if (player == nullptr) {
        progressCheck_.stop();
        return;
    }
    if (player->isPaused() || player->position() != progressAt_) {
        progressAt_ = player->position();
        sinceProgress_.start();
    } else if (sinceProgress_.hasExpired(stallLimit_.count())) {
        fail(kStalled);
    }
}

void PortalFilms::fail(const QString& text) {
    qCWarning(lcBrowser).noquote() << text;
    services_.keepAwake(this, false);
    progressCheck_.stop();
    if (started_ && playedTo_ > 0) {
        resume_.remember(resumeKey(), playedTo_, length_);
    }
    // Not inside the player's own signal: the failure frees the player.
    QMetaObject::invokeMethod(
        this,
        [this, text, picture = picture_] {
            if (picture) {
                picture->showFailure(text);
            }
            // The player may have reported playing once more before it was freed.
            if (picture == picture_) {
                services_.keepAwake(this, false);
            }
            if (bridge_) {
                Q_EMIT bridge_->api().failed(text);
            }
        },
        Qt::QueuedConnection);
}

QString PortalFilms::resumeKey() const {
    const QString origin = PortalBridge::originOf(portalRoot_);
    return film_.filmId.isEmpty() ? film_.address : origin + u"#film="_s + film_.filmId;
}

void PortalFilms::stop(bool now) {
    services_.keepAwake(this, false);
    pendingStart_.stop();
    progressCheck_.stop();
    restPage(false);
    if (picture_.isNull()) {
        bridge_.clear();
        return;
    }
    if (started_ && playedTo_ > 0) {
        resume_.remember(resumeKey(), playedTo_, length_);
    }
    if (PlayerControl* player = picture_->player()) {
        player->stop();
    }
    // Else later: this may run inside one of the picture's own signals.
    picture_->hide();
    if (now) {
        delete picture_.data();
    } else {
        picture_->deleteLater();
    }
    picture_.clear();
    bridge_.clear();
    started_ = false;
}

void PortalFilms::handBack() {
    if (bridge_.isNull()) {
        return;
    }
    PortalPageApi& api = bridge_->api();
    const QString address = film_.address;
    const double at = playedTo_;
    stop();
    Q_EMIT api.handedBack(address, at);
}

void PortalFilms::place(PortalBridge* bridge, const QRectF& css, bool shown, bool pageHidden) {
    if (bridge != bridge_) {
        return;
    }
    css_ = css;
    shown_ = shown;
    pageHidden_ = pageHidden;
    layOut();
}

bool PortalFilms::eventFilter(QObject* watched, QEvent* event) {
    // A page at rest does not follow its view's size: it wakes to lay itself out again.
    if (event->type() == QEvent::Resize && resting_ && !pane_.isNull() &&
        watched == pane_->view()) {
        restPage(false);
    }
    return QObject::eventFilter(watched, event);
}

void PortalFilms::restPage(bool on) {
    QWebEngineView* view = pane_.isNull() ? nullptr : pane_->view();
    const bool rested = std::exchange(resting_, on && view != nullptr);
    if (view == nullptr) {
        return;
    }
    QWebEnginePage* page = view->page();
    // The view shows and hides its page with itself (a minimised window too): only a page this
    // object hid, in a view that shows it, is woken.
    if (resting_ && page->isVisible()) {
        page->setVisible(false);
    } else if (!resting_ && rested && !page->isVisible() && view->isVisible() &&
               !view->window()->isMinimized()) {
        page->setVisible(true);
    }
}

void PortalFilms::layOut() {
    if (picture_.isNull() || pane_.isNull() || pane_->view() == nullptr) {
        return;
    }
    QWebEngineView* view = pane_->view();
    // CSS pixels are the widget's own pixels times the page's zoom, at any device pixel ratio.
    const double zoom = view->page()->zoomFactor();
    const QPoint origin = view->mapTo(pane_->widget(), QPoint(0, 0));
    const QRect rect(origin.x() + qRound(css_.x() * zoom), origin.y() + qRound(css_.y() * zoom),
                     qRound(css_.width() * zoom), qRound(css_.height() * zoom));
    const QRect visible = rect & unobscured(*pane_->widget());
    picture_->setGeometry(visible);
    // A page this object put to rest reports itself hidden; one its view hides has no picture.
    picture_->setVisible(shown_ && (!pageHidden_ || resting_) && !visible.isEmpty());
    picture_->raise();
    // A film's element that fills the whole view leaves nothing of the page to see: the page
    // rests, and its animations under the picture cost nothing. It wakes when the film stops or
    // the view's size changes.
    const QRect viewArea(origin, view->size());
    restPage(shown_ && picture_->isVisible() && rect.adjusted(-1, -1, 1, 1).contains(viewArea));
}

void PortalFilms::setStallLimit(std::chrono::milliseconds limit) {
    stallLimit_ = limit;
    progressCheck_.setInterval(
        std::clamp(limit / 4, std::chrono::milliseconds(50), std::chrono::milliseconds(1000)));
}

PlayerControl* PortalFilms::player() const {
    return picture_ ? picture_->player() : nullptr;
}

}  // namespace tivora
