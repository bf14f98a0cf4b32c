#pragma once

#include "playback/SeekSlider.h"

#include <QElapsedTimer>
#include <QHash>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QSlider>
#include <QStyle>
#include <QToolButton>
#include <QWidget>

namespace tivora {

class PlayerControl;

// The player control's own bar: play/pause, stop, seek bar with elapsed and total time, volume
// with mute, continuous play and fullscreen. It drives the player and follows its state.
class PlayerBar final : public QWidget {
    Q_OBJECT

public:
    // While playing, the time and the seek bar move once a second, and at most this often while
    // the pointer is over the bar: in a window that also holds a web page every repaint of the
    // bar composes the whole window again.
    static constexpr int kPositionIntervalMs = 250;

    PlayerBar(PlayerControl& player, QWidget* parent);

    [[nodiscard]] bool continuousPlay() const;
    void setContinuousPlay(bool on);
    void setFullScreenShown(bool fullScreen);

    // The player's state as the bar shows it.
    [[nodiscard]] QString timeText() const;
    [[nodiscard]] QToolButton* playButton() const { return play_; }
    [[nodiscard]] QToolButton* stopButton() const { return stop_; }
    [[nodiscard]] QToolButton* muteButton() const { return mute_; }
    [[nodiscard]] QToolButton* continuousButton() const { return continuous_; }
    [[nodiscard]] QToolButton* subtitlesButton() const { return subtitles_; }
    [[nodiscard]] QToolButton* tracksButton() const { return tracks_; }
    // The playback rate, shown only when it is not 1×.
    [[nodiscard]] QLabel* speedLabel() const { return speed_; }
    [[nodiscard]] QToolButton* fullScreenButton() const { return fullScreen_; }
    [[nodiscard]] SeekSlider* seekSlider() const { return seek_; }
    [[nodiscard]] QSlider* volumeSlider() const { return volume_; }

Q_SIGNALS:
    void fullScreenToggled();
    void continuousPlayToggled(bool on);
    // The tracks button's menu is about to open, empty: whoever knows the tracks fills it.
    void tracksMenuAboutToShow(QMenu* menu);

private:
    void follow();
    // The style's icon, made once: making it reads its image files again, at every file change.
    [[nodiscard]] QIcon icon(QStyle::StandardPixmap which);
    // exact: the seek bar takes the position even when its handle would not move.
    void showPosition(bool exact);

    PlayerControl& player_;
    QPointer<QToolButton> play_;
    QPointer<QToolButton> stop_;
    QPointer<SeekSlider> seek_;
    QPointer<QLabel> time_;
    QPointer<QToolButton> mute_;
    QPointer<QSlider> volume_;
    QPointer<QToolButton> subtitles_;
    QPointer<QToolButton> tracks_;
    QPointer<QLabel> speed_;
    QPointer<QToolButton> continuous_;
    QPointer<QToolButton> fullScreen_;
    QHash<QStyle::StandardPixmap, QIcon> icons_;
    QElapsedTimer positionShown_;
    double shownPosition_ = 0;
    double shownDuration_ = 0;
    struct Shown {
        bool valid = false;
        bool playing = false;
        bool muted = false;
    } shown_;
};

}  // namespace tivora
