#pragma once

#include "forms/PlayerControl.h"
#include "playback/PlayerSurface.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

class QLabel;

namespace tivora {

class Services;

// Tivora's own player laid over a portal page's film element: the video with the local player's
// bar and keys, a banner, and in the video's place a message when the film cannot play.
class PortalPicture final : public QWidget {
    Q_OBJECT

public:
    static constexpr int kBannerMilliseconds = 2500;

    PortalPicture(Services& services, QWidget* pane);
    ~PortalPicture() override;
    Q_DISABLE_COPY_MOVE(PortalPicture)

    // Null once the film failed: the player is freed then.
    [[nodiscard]] PlayerControl* player() const { return player_; }
    [[nodiscard]] PlayerSurface* surface() const { return surface_; }
    [[nodiscard]] QString message() const;
    // The banner's text while it is shown.
    [[nodiscard]] QString banner() const;

    void showBanner(const QString& text);
    // Frees the player and shows why in the video's place.
    void showFailure(const QString& text);
    void setTakeoverShown(bool on);

Q_SIGNALS:
    void retryRequested();
    void handBackRequested();
    void takeoverToggled(bool on);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showMenu(const QPoint& globalPos);

    QPointer<PlayerControl> player_;
    QPointer<PlayerSurface> surface_;
    QPointer<QLabel> banner_;
    QPointer<QWidget> failure_;
    QPointer<QLabel> failureText_;
    QTimer bannerTimer_;
    bool takeover_ = true;
};

}  // namespace tivora
