// The system media transport controls of Windows 10 and later: what media keys, the volume
// flyout and the lock screen speak, as MPRIS 2 is on Linux desktops.
#include "desktop/MprisService.h"

#include "forms/Logging.h"

#include <QMetaObject>
#include <QWindow>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <memory>
#include <mutex>
#include <utility>

// Classic COM before C++/WinRT, so that it can take the interop interface.
#include <unknwn.h>
#include <windows.h>

#include <systemmediatransportcontrolsinterop.h>
#include <winrt/Windows.Foundation.h>
#include <winrt/Windows.Media.h>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

namespace media = winrt::Windows::Media;
using winrt::Windows::Foundation::TimeSpan;

// The timeline is told again when the position has moved this far from the one last told; the
// system's own widgets only show whole seconds.
constexpr double kTimelineStep = 1;

TimeSpan timeSpan(double seconds) {
    return std::chrono::duration_cast<TimeSpan>(std::chrono::duration<double>(seconds));
}

double secondsOf(TimeSpan span) {
    return std::chrono::duration<double>(span).count();
}

winrt::hstring toHstring(const QString& text) {
    return winrt::hstring(text.toStdWString());
}

QString describe(const winrt::hresult_error& error) {
    const winrt::hstring message = error.message();
    return QString::fromWCharArray(message.c_str(), static_cast<qsizetype>(message.size()));
}

// The system raises its events on threads of its own: they are handed to the controls on the
// thread they live on, and dropped once the controls are gone. Shared by the controls and every
// handler they registered, so that a handler that runs late still finds it.
class Relay final {
public:
    explicit Relay(MediaControls* controls) : controls_(controls) {}

    void post(std::function<void(MediaControls&)> call) {
        const std::scoped_lock lock(mutex_);
        if (controls_ == nullptr) {
            return;
        }
        // A queued call to an object that is then deleted is dropped with it.
        QMetaObject::invokeMethod(
            controls_, [controls = controls_, call = std::move(call)] { call(*controls); },
            Qt::QueuedConnection);
    }

    void cut() {
        const std::scoped_lock lock(mutex_);
        controls_ = nullptr;
    }

private:
    std::mutex mutex_;
    MediaControls* controls_;
};

class TransportControls final : public MediaControls {
    Q_OBJECT

public:
    TransportControls() : relay_(std::make_shared<Relay>(this)) {}

    ~TransportControls() override {
        relay_->cut();
        if (!controls_) {
            return;
        }
        try {
            controls_.ButtonPressed(buttonToken_);
            controls_.PlaybackPositionChangeRequested(positionToken_);
            controls_.PlaybackRateChangeRequested(rateToken_);
            controls_.DisplayUpdater().ClearAll();
            controls_.PlaybackStatus(media::MediaPlaybackStatus::Closed);
            controls_.IsEnabled(false);
        } catch (const winrt::hresult_error& error) {
            qCWarning(lcDesktop).noquote() << u"media controls not released: "_s + describe(error);
        }
    }

    Q_DISABLE_COPY_MOVE(TransportControls)

    // False when the system has no transport controls for a desktop program (before Windows 10,
    // or a server without the media features).
    [[nodiscard]] bool attach() {
        // A window of its own that is never shown: the system ties its controls to a window, and
        // the player's window comes and goes while these controls stay.
        window_.setFlags(Qt::Tool | Qt::FramelessWindowHint);
        const auto hwnd = reinterpret_cast<HWND>(window_.winId());
        try {
            const auto interop =
                winrt::get_activation_factory<media::SystemMediaTransportControls,
                                              ISystemMediaTransportControlsInterop>();
            winrt::check_hresult(
                interop->GetForWindow(hwnd, winrt::guid_of<media::SystemMediaTransportControls>(),
                                      winrt::put_abi(controls_)));
            controls_.IsEnabled(true);
            controls_.IsPlayEnabled(false);
            controls_.IsPauseEnabled(false);
            controls_.IsStopEnabled(false);
            controls_.IsNextEnabled(false);
            controls_.IsPreviousEnabled(false);
            controls_.PlaybackStatus(media::MediaPlaybackStatus::Closed);
            controls_.DisplayUpdater().Type(media::MediaPlaybackType::Video);
            listen();
        } catch (const winrt::hresult_error& error) {
            qCInfo(lcDesktop).noquote() << u"no system media controls: "_s + describe(error);
            controls_ = nullptr;
            return false;
        }
        return true;
    }

    void update(const State& state) override {
        const State before = std::exchange(state_, state);
        try {
            if (state.hasFile != before.hasFile || state.paused != before.paused) {
                controls_.PlaybackStatus(!state.hasFile ? media::MediaPlaybackStatus::Stopped
                                         : state.paused ? media::MediaPlaybackStatus::Paused
                                                        : media::MediaPlaybackStatus::Playing);
                controls_.IsPlayEnabled(state.hasFile);
                controls_.IsPauseEnabled(state.hasFile);
                controls_.IsStopEnabled(state.hasFile);
            }
            if (state.canGoNext != before.canGoNext) {
                controls_.IsNextEnabled(state.canGoNext);
            }
            if (state.canGoPrevious != before.canGoPrevious) {
                controls_.IsPreviousEnabled(state.canGoPrevious);
            }
            if (state.rate != before.rate) {
                controls_.PlaybackRate(state.rate);
            }
            if (state.title != before.title || state.hasFile != before.hasFile) {
                tellTitle();
            }
            if (state.duration != before.duration || state.path != before.path ||
                state.hasFile != before.hasFile ||
                std::abs(state.position - toldPosition_) >= kTimelineStep) {
                tellTimeline();
            }
        } catch (const winrt::hresult_error& error) {
            qCWarning(lcDesktop).noquote() << u"media controls not told: "_s + describe(error);
        }
    }

    void seeked(double position) override {
        state_.position = position;
        try {
            tellTimeline();
        } catch (const winrt::hresult_error& error) {
            qCWarning(lcDesktop).noquote() << u"media controls not told: "_s + describe(error);
        }
    }

private:
    void listen() {
        // Each handler holds the relay, never the controls: it may run after they are gone.
        const std::shared_ptr<Relay> relay = relay_;
        buttonToken_ = controls_.ButtonPressed(
            [relay](const media::SystemMediaTransportControls& /*sender*/,
                    const media::SystemMediaTransportControlsButtonPressedEventArgs& args) {
                const media::SystemMediaTransportControlsButton button = args.Button();
                relay->post([button](MediaControls& controls) { pressed(controls, button); });
            });
        positionToken_ = controls_.PlaybackPositionChangeRequested(
            [relay](const media::SystemMediaTransportControls& /*sender*/,
                    const media::PlaybackPositionChangeRequestedEventArgs& args) {
                const double seconds = secondsOf(args.RequestedPlaybackPosition());
                relay->post([seconds](MediaControls& controls) {
                    Q_EMIT controls.positionRequested(std::max(seconds, 0.0));
                });
            });
        rateToken_ = controls_.PlaybackRateChangeRequested(
            [relay](const media::SystemMediaTransportControls& /*sender*/,
                    const media::PlaybackRateChangeRequestedEventArgs& args) {
                const double rate = args.RequestedPlaybackRate();
                // The player clamps or refuses it, and says so.
                relay->post(
                    [rate](MediaControls& controls) { Q_EMIT controls.rateRequested(rate); });
            });
    }

    // The play/pause key arrives as Play or Pause, after the status last told.
    static void pressed(MediaControls& controls, media::SystemMediaTransportControlsButton button) {
        using Button = media::SystemMediaTransportControlsButton;
        switch (button) {
            case Button::Play:
                Q_EMIT controls.playRequested();
                break;
            case Button::Pause:
                Q_EMIT controls.pauseRequested();
                break;
            case Button::Stop:
                Q_EMIT controls.stopRequested();
                break;
            case Button::Next:
                Q_EMIT controls.nextRequested();
                break;
            case Button::Previous:
                Q_EMIT controls.previousRequested();
                break;
            default:
                qCDebug(lcDesktop) << "media button ignored:" << static_cast<int>(button);
                break;
        }
    }

    void tellTitle() {
        media::SystemMediaTransportControlsDisplayUpdater display = controls_.DisplayUpdater();
        display.ClearAll();
        display.Type(media::MediaPlaybackType::Video);
        if (state_.hasFile) {
            display.VideoProperties().Title(toHstring(state_.title));
        }
        display.Update();
    }

    void tellTimeline() {
        const double length = state_.hasFile ? std::max(state_.duration, 0.0) : 0;
        media::SystemMediaTransportControlsTimelineProperties timeline;
        timeline.StartTime(TimeSpan::zero());
        timeline.MinSeekTime(TimeSpan::zero());
        timeline.EndTime(timeSpan(length));
        timeline.MaxSeekTime(timeSpan(length));
        timeline.Position(timeSpan(state_.hasFile ? std::clamp(state_.position, 0.0, length) : 0));
        controls_.UpdateTimelineProperties(timeline);
        toldPosition_ = state_.position;
    }

    QWindow window_;
    media::SystemMediaTransportControls controls_{nullptr};
    std::shared_ptr<Relay> relay_;
    winrt::event_token buttonToken_{};
    winrt::event_token positionToken_{};
    winrt::event_token rateToken_{};
    State state_;
    double toldPosition_ = -1;
};

}  // namespace

std::unique_ptr<MediaControls> createSystemMediaControls() {
    auto controls = std::make_unique<TransportControls>();
    if (!controls->attach()) {
        return nullptr;
    }
    return controls;
}

}  // namespace tivora

#include "MprisService_windows.moc"
