#pragma once

#include "app/PortalPicture.h"
#include "browser/PortalBridge.h"
#include "browser/PortalPageApi.h"
#include "player/ResumeStore.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QTimer>
#include <QUrl>

#include <chrono>
#include <vector>

class QWebEnginePage;

namespace tivora {

class MainWindow;
class PlayerControl;
class Services;
class WebEnginePane;

// Plays the portal pages' films in Tivora's own player, laid over the film's element in the pane:
// films the pages hand over through their "tivora" object and, unless turned off for the portal,
// the pages' own player elements. One film at a time; it stops when its page goes, its process
// ends, or this object goes.
class PortalFilms final : public QObject {
    Q_OBJECT

public:
    // Position reports to the page, at most this often.
    static constexpr int kPositionIntervalMs = 250;
    // A film that should play and gets no further for this long has failed: a stream that stalls.
    static constexpr std::chrono::milliseconds kStallLimit{30000};

    PortalFilms(Services& services, QUrl portalRoot, ResumeStore resume = ResumeStore());
    ~PortalFilms() override;
    Q_DISABLE_COPY_MOVE(PortalFilms)

    // Pages this pane makes from now on (and the one it has) get the portal's player object.
    void watch(WebEnginePane& pane);
    // The main window's content pane (live TV) and full-window pane (the play page).
    void watchPanesOf(MainWindow& window);

    // Whether pages' own player elements are taken over; remembered per portal.
    [[nodiscard]] bool takeover() const;
    void setTakeover(bool on);

    // The picture of the film now shown, its player and address; null and empty between films.
    [[nodiscard]] PortalPicture* picture() const { return picture_; }
    [[nodiscard]] PlayerControl* player() const;
    [[nodiscard]] QString filmAddress() const { return film_.address; }

    void setStallLimit(std::chrono::milliseconds limit);

private:
    void attach(QWebEnginePage* page, WebEnginePane* pane);
    void play(PortalBridge* bridge, WebEnginePane* pane, const PortalFilmRequest& request);
    void start();
    void stop(bool now = false);
    void handBack();
    void place(PortalBridge* bridge, const QRectF& css, bool shown, bool pageHidden);
    void layOut();
    // Hides the page under the picture from its engine, or shows it again.
    void restPage(bool on);
    bool eventFilter(QObject* watched, QEvent* event) override;
    void followPlayer();
    void checkProgress();
    // Frees the player and shows why in the film's place; where it was is kept.
    void fail(const QString& text);
    [[nodiscard]] QString resumeKey() const;
    [[nodiscard]] QString takeoverKey() const;

    Services& services_;
    QUrl portalRoot_;
    ResumeStore resume_;

    PortalFilmRequest film_;
    std::vector<QPointer<PortalBridge>> bridges_;
    QPointer<PortalBridge> bridge_;
    QPointer<WebEnginePane> pane_;
    QPointer<PortalPicture> picture_;
    QRectF css_;
    bool shown_ = false;
    bool pageHidden_ = false;
    bool resting_ = false;  // the page under the picture is hidden from its engine
    bool started_ = false;  // the player has opened the film
    double playedTo_ = 0;
    double length_ = 0;
    QElapsedTimer sincePosition_;
    std::chrono::milliseconds stallLimit_ = kStallLimit;
    QTimer pendingStart_;
    QElapsedTimer sinceStart_;
    QTimer progressCheck_;
    QElapsedTimer sinceProgress_;
    double progressAt_ = -1;
};

}  // namespace tivora
