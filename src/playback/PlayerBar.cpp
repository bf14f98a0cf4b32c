#include "playback/PlayerBar.h"

#include "forms/PlayerControl.h"
#include "playback/PlaybackTime.h"
#include "playback/PlayerActions.h"
#include "playback/SeekSlider.h"
#include "playback/VolumeSlider.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QStyle>
#include <QToolButton>

#include <cmath>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

constexpr double kJumpSeconds = 1;

QToolButton* makeButton(QWidget* parent, QStyle::StandardPixmap icon, const QString& tip) {
    auto* button = new QToolButton(parent);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setToolTip(tip);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

}  // namespace

PlayerBar::PlayerBar(PlayerControl& player, QWidget* parent)
    : QWidget(parent),
      player_(player),
      play_(makeButton(this, QStyle::SP_MediaPlay, u"播放"_s)),
      stop_(makeButton(this, QStyle::SP_MediaStop, u"停止"_s)),
      seek_(new SeekSlider(this)),
      time_(new QLabel(this)),
      mute_(makeButton(this, QStyle::SP_MediaVolume, u"静音"_s)),
      volume_(new VolumeSlider(this)),
      subtitles_(new QToolButton(this)),
      tracks_(new QToolButton(this)),
      speed_(new QLabel(this)),
      continuous_(new QToolButton(this)),
      fullScreen_(makeButton(this, QStyle::SP_TitleBarMaxButton, u"全屏 (F)"_s)) {
    setObjectName(u"PlayerBar"_s);
    setAutoFillBackground(true);
    seek_->setToolTip(u"拖动或点击跳到该处"_s);
    volume_->setRange(0, 100);
    volume_->setFixedWidth(80);
    volume_->setFocusPolicy(Qt::NoFocus);
    volume_->setToolTip(u"音量 100%"_s);
    subtitles_->setText(u"字幕"_s);
    subtitles_->setCheckable(true);
    subtitles_->setChecked(true);
    subtitles_->setAutoRaise(true);
    subtitles_->setFocusPolicy(Qt::NoFocus);
    subtitles_->setToolTip(u"显示或隐藏字幕"_s);
    tracks_->setText(u"音轨"_s);
    tracks_->setAutoRaise(true);
    tracks_->setFocusPolicy(Qt::NoFocus);
    tracks_->setToolTip(u"选择音轨和字幕"_s);
    tracks_->setPopupMode(QToolButton::InstantPopup);
    auto* trackMenu = new QMenu(tracks_);
    tracks_->setMenu(trackMenu);
    connect(trackMenu, &QMenu::aboutToShow, this, [this, trackMenu] {
        trackMenu->clear();
        Q_EMIT tracksMenuAboutToShow(trackMenu);
    });
    speed_->setToolTip(u"播放速度：] 加快，[ 减慢，退格恢复"_s);
    speed_->hide();
    continuous_->setText(u"连续播放"_s);
    continuous_->setCheckable(true);
    continuous_->setChecked(true);
    continuous_->setAutoRaise(true);
    continuous_->setFocusPolicy(Qt::NoFocus);
    continuous_->setToolTip(u"播完后接着播放列表中的下一个文件"_s);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(4);
    row->addWidget(play_);
    row->addWidget(stop_);
    row->addWidget(seek_, 1);
    row->addWidget(time_);
    row->addWidget(speed_);
    row->addWidget(mute_);
    row->addWidget(volume_);
    row->addWidget(tracks_);
    row->addWidget(subtitles_);
    row->addWidget(continuous_);
    row->addWidget(fullScreen_);

    connect(play_, &QToolButton::clicked, this, [this] {
        if (player_.hasFile()) {
            player_.setPaused(!player_.isPaused());
        } else {
            player_.play();
        }
    });
    connect(stop_, &QToolButton::clicked, this, [this] { player_.stop(); });
    connect(seek_, &SeekSlider::seekRequested, this,
            [this](int milliseconds) { player_.seekTo(milliseconds / 1000.0); });
    connect(mute_, &QToolButton::clicked, this, [this] { player_.setMuted(!player_.isMuted()); });
    connect(volume_, &QSlider::valueChanged, this, [this](int percent) {
        if (percent != player_.volume()) {
            player_.setVolume(percent);
        }
    });
    connect(subtitles_, &QToolButton::toggled, this, [this](bool on) {
        if (on != player_.subtitlesShown()) {
            player_.setSubtitlesShown(on);
        }
    });
    connect(continuous_, &QToolButton::toggled, this, &PlayerBar::continuousPlayToggled);
    connect(fullScreen_, &QToolButton::clicked, this, &PlayerBar::fullScreenToggled);
    connect(&player_, &PlayerControl::stateChanged, this, &PlayerBar::follow);
    follow();
}

bool PlayerBar::continuousPlay() const {
    return continuous_->isChecked();
}

void PlayerBar::setContinuousPlay(bool on) {
    continuous_->setChecked(on);
}

void PlayerBar::setFullScreenShown(bool fullScreen) {
    fullScreen_->setIcon(
        icon(fullScreen ? QStyle::SP_TitleBarNormalButton : QStyle::SP_TitleBarMaxButton));
    fullScreen_->setToolTip(fullScreen ? u"退出全屏 (Esc)"_s : u"全屏 (F)"_s);
}

QString PlayerBar::timeText() const {
    return time_->text();
}

QIcon PlayerBar::icon(QStyle::StandardPixmap which) {
    auto made = icons_.find(which);
    if (made == icons_.end()) {
        made = icons_.insert(which, style()->standardIcon(which));
    }
    return *made;
}

void PlayerBar::follow() {
    const bool playing = player_.hasFile() && !player_.isPaused();
    // The time changes with every frame; icons only when their state does.
    if (shown_.playing != playing || !shown_.valid) {
        play_->setIcon(icon(playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
        play_->setToolTip(playing ? u"暂停 (空格)"_s : u"播放 (空格)"_s);
    }
    // A paused player moves only when told to, and a jump is a seek: both are shown at once. While
    // playing, the bar moves with the shown second, and a few times a second under the pointer.
    const double position = player_.hasFile() ? player_.position() : 0;
    const double duration = player_.hasFile() ? player_.duration() : 0;
    const bool jumped =
        std::abs(position - shownPosition_) > kJumpSeconds || duration != shownDuration_;
    const bool nextSecond = std::floor(position) != std::floor(shownPosition_);
    const bool watched = underMouse() && (!positionShown_.isValid() ||
                                          positionShown_.hasExpired(kPositionIntervalMs));
    if (!playing || jumped) {
        showPosition(true);
    } else if (nextSecond || watched) {
        showPosition(false);
    }
    const bool muted = player_.isMuted();
    if (shown_.muted != muted || !shown_.valid) {
        mute_->setIcon(icon(muted ? QStyle::SP_MediaVolumeMuted : QStyle::SP_MediaVolume));
        mute_->setToolTip(muted ? u"取消静音 (M)"_s : u"静音 (M)"_s);
    }
    if (volume_->value() != player_.volume()) {
        const QSignalBlocker quiet(volume_);
        volume_->setValue(player_.volume());
        volume_->setToolTip(u"音量 %1%"_s.arg(player_.volume()));
    }
    shown_ = {.valid = true, .playing = playing, .muted = muted};
    const double rate = player_.speed();
    const bool unusual = std::abs(rate - 1) > 0.001;
    if (unusual) {
        const QString text = PlayerActions::speedText(rate);
        if (speed_->text() != text) {
            speed_->setText(text);
        }
    }
    if (speed_->isVisibleTo(this) != unusual) {
        speed_->setVisible(unusual);
    }
    if (subtitles_->isChecked() != player_.subtitlesShown()) {
        const QSignalBlocker quiet(subtitles_);
        subtitles_->setChecked(player_.subtitlesShown());
    }
}

void PlayerBar::showPosition(bool exact) {
    positionShown_.start();
    const double duration = player_.hasFile() ? player_.duration() : 0;
    const double position = player_.hasFile() ? player_.position() : 0;
    shownPosition_ = position;
    shownDuration_ = duration;
    seek_->setEnabled(duration > 0);
    const int value = static_cast<int>(std::lround(position * 1000));
    const int end = static_cast<int>(std::lround(duration * 1000));
    const auto handleAt = [&](int at) {
        return QStyle::sliderPositionFromValue(0, end, at, seek_->width());
    };
    // While playing, the handle is repainted only when it moves by a pixel.
    if (!seek_->isDragging() &&
        (exact || end != seek_->maximum() || handleAt(value) != handleAt(seek_->value()))) {
        seek_->setRange(0, end);
        seek_->setValue(value);
    }
    const QString time = playback::formatTime(position) + u" / "_s + playback::formatTime(duration);
    if (time != time_->text()) {
        time_->setText(time);
    }
}

}  // namespace tivora
