#include "media/MpvPlayer.h"

#include "media/MpvLibrary.h"
#include "media/MpvPlatform.h"
#include "media/MpvVideoWidget.h"

#include <QFileInfo>
#include <QOpenGLContext>
#include <QWidget>

#include <mpv/client.h>

#include <algorithm>
#include <cmath>
#include <string_view>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

bool openGlAvailable() {
    QOpenGLContext probe;
    return probe.create();
}

QString failureText(int error, const QString& path) {
    const QString name = QFileInfo(path).fileName();
    if (!QFileInfo::exists(path)) {
        return u"无法播放：找不到文件“%1”，它可能已被移动或删除。"_s.arg(name);
    }
    switch (error) {
        case MPV_ERROR_LOADING_FAILED:
        case MPV_ERROR_UNKNOWN_FORMAT:
            return u"无法播放：“%1”不是可以识别的视频文件，或者文件已经损坏。"_s.arg(name);
        case MPV_ERROR_NOTHING_TO_PLAY:
            return u"无法播放：“%1”里没有可以播放的图像或声音。"_s.arg(name);
        default:
            return u"无法播放“%1”：%2"_s.arg(name, QString::fromUtf8(libmpv().error_string(error)));
    }
}

// A property's text; empty when mpv has none now.
QString stringProperty(mpv_handle* mpv, const char* name) {
    char* text = libmpv().get_property_string(mpv, name);
    if (text == nullptr) {
        return {};
    }
    QString result = QString::fromUtf8(text);
    libmpv().free(text);
    return result;
}

}  // namespace

MpvPlayer* MpvPlayer::create(QWidget* parent, MpvOptions options) {
    if (loadMpvLibrary() == nullptr) {
        return nullptr;
    }
    mpv_handle* mpv = libmpv().create();
    if (mpv == nullptr) {
        return nullptr;
    }
    const bool videoShown = !options.renderVideo || openGlAvailable();
    const bool render = options.renderVideo && videoShown;
    const std::pair<const char*, const char*> settings[] = {
        {"vo", render ? "libmpv" : "null"},
        {"ao", options.audio ? "auto" : "null"},
        {"hwdec", "auto-safe"},
        // Only libavformat's probing: a text file that looks like a playlist is no video.
        {"demuxer", "lavf"},
        {"idle", "yes"},
        // A file played to its end stays paused on its last frame.
        {"keep-open", "yes"},
        // Subtitle files named after the video ("film.srt", "film.chs.srt", "film[字幕].ass") load
        // with it; those that are not UTF-8 are read as GB18030, which GBK files are.
        {"sub-auto", "fuzzy"},
        {"sub-codepage", "gb18030"},
        {"terminal", "no"},
        {"config", "no"},
        {"load-scripts", "no"},
        {"load-stats-overlay", "no"},
        {"load-osd-console", "no"},
        {"load-auto-profiles", "no"},
        {"ytdl", "no"},
        {"osc", "no"},
        {"input-default-bindings", "no"},
        {"input-vo-keyboard", "no"},
        {"audio-client-name", "Tivora"},
    };
    for (const auto& [name, value] : settings) {
        libmpv().set_option_string(mpv, name, value);
    }
    if (libmpv().initialize(mpv) < 0) {
        libmpv().terminate_destroy(mpv);
        return nullptr;
    }
    libmpv().observe_property(mpv, 0, "time-pos", MPV_FORMAT_DOUBLE);
    libmpv().observe_property(mpv, 0, "duration", MPV_FORMAT_DOUBLE);
    libmpv().observe_property(mpv, 0, "volume", MPV_FORMAT_DOUBLE);
    libmpv().observe_property(mpv, 0, "pause", MPV_FORMAT_FLAG);
    libmpv().observe_property(mpv, 0, "mute", MPV_FORMAT_FLAG);
    libmpv().observe_property(mpv, 0, "eof-reached", MPV_FORMAT_FLAG);
    QWidget* view = nullptr;
    if (render) {
        view = new MpvVideoWidget(mpv, parent);
    } else {
        view = new QWidget(parent);
        view->setStyleSheet(u"background: black;"_s);
        view->setAttribute(Qt::WA_StyledBackground);
    }
    return new MpvPlayer(mpv, view, videoShown);
}

MpvPlayer::MpvPlayer(mpv_handle* mpv, QWidget* view, bool videoShown)
    : mpv_(mpv), view_(view), video_(qobject_cast<MpvVideoWidget*>(view)), videoShown_(videoShown) {
    setParent(view);
    libmpv().set_wakeup_callback(mpv_, &MpvPlayer::onMpvWakeup, this);
}

void MpvPlayer::tellNoVideo() {
    if (!toldNoVideo_) {
        toldNoVideo_ = true;
        Q_EMIT failed(u"无法显示视频画面，只能播放声音。"_s);
    }
}

MpvPlayer::~MpvPlayer() {
    // The render context must go before the core it draws from.
    if (video_) {
        video_->releaseRenderContext();
    }
    // Returns only when no wakeup is running any more.
    libmpv().set_wakeup_callback(mpv_, nullptr, nullptr);
    libmpv().terminate_destroy(mpv_);
}

void MpvPlayer::onMpvWakeup(void* self) {
    // Called on one of mpv's threads.
    QMetaObject::invokeMethod(static_cast<MpvPlayer*>(self), &MpvPlayer::drainEvents,
                              Qt::QueuedConnection);
}

void MpvPlayer::command(std::initializer_list<const char*> arguments) {
    std::vector<const char*> list(arguments);
    list.push_back(nullptr);
    // Asynchronous: a core busy opening a file never blocks the window.
    libmpv().command_async(mpv_, 0, list.data());
}

void MpvPlayer::stop() {
    loaded_.clear();
    if (video_) {
        video_->setPlaying(false);
    }
    command({"stop"});
    if (hasFile_) {
        hasFile_ = false;
        position_ = 0;
        duration_ = 0;
        Q_EMIT stateChanged();
    }
}

void MpvPlayer::setPaused(bool paused) {
    if (!hasFile_) {
        return;
    }
    if (!paused && atEnd_) {
        // Played again from its last frame: from the beginning.
        command({"seek", "0", "absolute"});
    }
    command({"set", "pause", paused ? "yes" : "no"});
}

void MpvPlayer::seekTo(double seconds) {
    if (!hasFile_) {
        return;
    }
    // The length may not be known yet just after the file opened.
    const double at = duration_ > 0 ? std::clamp(seconds, 0.0, duration_) : std::max(seconds, 0.0);
    const QByteArray target = QByteArray::number(at, 'f', 3);
    command({"seek", target.constData(), "absolute"});
}

void MpvPlayer::setVolume(int percent) {
    const QByteArray value = QByteArray::number(std::clamp(percent, 0, 100));
    command({"set", "volume", value.constData()});
}

void MpvPlayer::setMuted(bool muted) {
    command({"set", "mute", muted ? "yes" : "no"});
}

void MpvPlayer::setSubtitlesShown(bool shown) {
    subtitlesShown_ = shown;
    command({"set", "sub-visibility", shown ? "yes" : "no"});
    Q_EMIT stateChanged();
}

QString MpvPlayer::subtitleTextForTesting() const {
    return stringProperty(mpv_, "sub-text");
}

void MpvPlayer::setSource(const QString& path) {
    source_ = path;
}

void MpvPlayer::play() {
    if (source_.isEmpty()) {
        return;
    }
    if (!videoShown_ && !toldNoVideo_) {
        toldNoVideo_ = true;
        Q_EMIT failed(u"本机没有可用的 OpenGL，无法显示视频画面，只能播放声音。"_s);
    }
    if (video_ && video_->renderFailed()) {
        tellNoVideo();
    }
    if (source_ == loaded_) {
        setPaused(false);
        return;
    }
    loaded_ = source_;
    if (video_) {
        video_->setPlaying(true);
    }
    const QByteArray path = toMpvPath(source_);
    command({"loadfile", path.constData(), "replace"});
    command({"set", "pause", "no"});
}

QWidget* MpvPlayer::widget() const {
    return view_;
}

double MpvPlayer::positionForTesting() const {
    double position = -1;
    if (libmpv().get_property(mpv_, "time-pos", MPV_FORMAT_DOUBLE, &position) < 0) {
        return -1;
    }
    return position;
}

QString MpvPlayer::pathForTesting() const {
    return stringProperty(mpv_, "path");
}

void MpvPlayer::drainEvents() {
    const QPointer<MpvPlayer> alive(this);
    while (alive) {
        const mpv_event* event = libmpv().wait_event(mpv_, 0);
        if (event->event_id == MPV_EVENT_NONE) {
            return;
        }
        if (event->event_id == MPV_EVENT_PROPERTY_CHANGE) {
            const bool reachedEnd =
                readProperty(*static_cast<const mpv_event_property*>(event->data));
            Q_EMIT stateChanged();
            if (alive && reachedEnd) {
                Q_EMIT endReached();
            }
            continue;
        }
        if (event->event_id == MPV_EVENT_FILE_LOADED) {
            hasFile_ = true;
            Q_EMIT fileLoaded();
            Q_EMIT stateChanged();
            continue;
        }
        if (event->event_id != MPV_EVENT_END_FILE) {
            continue;
        }
        // Copied out: a message box shown for a signal runs the event loop, which drains again.
        const auto* end = static_cast<const mpv_event_end_file*>(event->data);
        const int reason = end->reason;
        const int error = end->error;
        const QString path = loaded_;
        if (reason == MPV_END_FILE_REASON_EOF || reason == MPV_END_FILE_REASON_ERROR) {
            loaded_.clear();
        }
        if (loaded_.isEmpty() && hasFile_) {
            hasFile_ = false;
            position_ = 0;
            duration_ = 0;
            Q_EMIT stateChanged();
        }
        // mpv sends no frame after the end, so the last one would stay on screen.
        if (video_ && loaded_.isEmpty()) {
            video_->setPlaying(false);
        } else if (view_) {
            view_->update();
        }
        if (reason == MPV_END_FILE_REASON_REDIRECT) {
            // A playlist or other text that names further files: it is not a video.
            stop();
            Q_EMIT endFile(true);
            if (alive) {
                Q_EMIT failed(failureText(MPV_ERROR_UNKNOWN_FORMAT, path));
            }
            continue;
        }
        Q_EMIT endFile(reason == MPV_END_FILE_REASON_ERROR);
        if (alive && reason == MPV_END_FILE_REASON_ERROR) {
            Q_EMIT failed(failureText(error, path));
        }
        if (alive && reason == MPV_END_FILE_REASON_EOF) {
            Q_EMIT endReached();
        }
    }
}

bool MpvPlayer::readProperty(const mpv_event_property& property) {
    const std::string_view name(property.name);
    const bool known = property.format != MPV_FORMAT_NONE && property.data != nullptr;
    if (name == "time-pos") {
        position_ = known ? *static_cast<const double*>(property.data) : 0;
    } else if (name == "duration") {
        duration_ = known ? *static_cast<const double*>(property.data) : 0;
    } else if (name == "volume" && known) {
        volume_ = static_cast<int>(std::lround(*static_cast<const double*>(property.data)));
    } else if (name == "pause") {
        paused_ = known && *static_cast<const int*>(property.data) != 0;
    } else if (name == "mute") {
        muted_ = known && *static_cast<const int*>(property.data) != 0;
    } else if (name == "eof-reached") {
        const bool atEnd = known && *static_cast<const int*>(property.data) != 0;
        return atEnd && !std::exchange(atEnd_, atEnd);
    }
    return false;
}

}  // namespace tivora
