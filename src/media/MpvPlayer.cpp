#include "media/MpvPlayer.h"

#include "forms/Logging.h"
#include "forms/StartupTrace.h"
#include "media/MpvCore.h"
#include "media/MpvLibrary.h"
#include "media/MpvPlatform.h"
#include "media/MpvProperties.h"
#include "media/MpvVideoWidget.h"
#include "media/SubtitleFiles.h"

#include <QFileInfo>
#include <QOpenGLContext>
#include <QUrl>
#include <QWidget>

#include <mpv/client.h>

#include <algorithm>
#include <cmath>
#include <string_view>
#include <utility>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

bool openGlAvailable() {
    QOpenGLContext probe;
    return probe.create();
}

// Network streams a page may name; anything else is a file path.
bool isNetworkAddress(const QString& source) {
    static const QStringList schemes{u"http"_s,  u"https"_s, u"rtsp"_s,
                                     u"rtsps"_s, u"mms"_s,   u"mmsh"_s};
    const QUrl url(source, QUrl::StrictMode);
    return url.isValid() && !url.host().isEmpty() && schemes.contains(url.scheme().toLower());
}

// mpv's own warnings and errors, in the player's category.
void logMpvMessage(const mpv_event_log_message& message) {
    const QString line = QString::fromUtf8(message.text).trimmed();
    if (line.isEmpty()) {
        return;
    }
    const QString text = QString::fromUtf8(message.prefix) + u": "_s + line;
    switch (message.log_level) {
        case MPV_LOG_LEVEL_FATAL:
            qCCritical(lcPlayer).noquote() << text;
            break;
        case MPV_LOG_LEVEL_ERROR:
        case MPV_LOG_LEVEL_WARN:
            qCWarning(lcPlayer).noquote() << text;
            break;
        default:
            // Asked for only while tracing: where opening a file spends its time.
            trace::mark(text);
            break;
    }
}

double doubleValue(const mpv_event_property& property) {
    return property.format == MPV_FORMAT_DOUBLE && property.data != nullptr
               ? *static_cast<const double*>(property.data)
               : 0;
}

QString nodeString(const mpv_node& node) {
    return node.format == MPV_FORMAT_STRING && node.u.string != nullptr
               ? QString::fromUtf8(node.u.string)
               : QString();
}

// mpv's track-list: an array of maps with id, type, lang, title, selected, external.
QList<MediaTrack> readTracks(const mpv_event_property& property) {
    QList<MediaTrack> tracks;
    if (property.format != MPV_FORMAT_NODE || property.data == nullptr) {
        return tracks;
    }
    const auto& list = *static_cast<const mpv_node*>(property.data);
    if (list.format != MPV_FORMAT_NODE_ARRAY || list.u.list == nullptr) {
        return tracks;
    }
    for (int i = 0; i < list.u.list->num; ++i) {
        const mpv_node& item = list.u.list->values[i];
        if (item.format != MPV_FORMAT_NODE_MAP || item.u.list == nullptr) {
            continue;
        }
        MediaTrack track;
        QString type;
        for (int k = 0; k < item.u.list->num; ++k) {
            const std::string_view key(item.u.list->keys[k]);
            const mpv_node& value = item.u.list->values[k];
            if (key == "id" && value.format == MPV_FORMAT_INT64) {
                track.id = static_cast<int>(value.u.int64);
            } else if (key == "type") {
                type = nodeString(value);
            } else if (key == "lang") {
                track.language = nodeString(value);
            } else if (key == "title") {
                track.title = nodeString(value);
            } else if (key == "selected" && value.format == MPV_FORMAT_FLAG) {
                track.selected = value.u.flag != 0;
            } else if (key == "external" && value.format == MPV_FORMAT_FLAG) {
                track.external = value.u.flag != 0;
            }
        }
        if (type == u"audio"_s) {
            track.kind = MediaTrack::Kind::Audio;
        } else if (type == u"sub"_s) {
            track.kind = MediaTrack::Kind::Subtitle;
        } else if (type != u"video"_s) {
            continue;
        }
        if (track.id > 0) {
            tracks << track;
        }
    }
    return tracks;
}

// The codec names mpv's sub-codepage takes; empty: UTF-8 when the file is, else GB18030.
QByteArray codepageFor(const QString& encoding) {
    const QString name = encoding.toLower();
    if (name == u"gbk"_s) {
        return "gbk";
    }
    if (name == u"big5"_s) {
        return "big5";
    }
    if (name == u"utf-8"_s) {
        return "utf-8";
    }
    return "gb18030";
}

bool flagValue(const mpv_event_property& property) {
    return property.format == MPV_FORMAT_FLAG && property.data != nullptr &&
           *static_cast<const int*>(property.data) != 0;
}

}  // namespace

QString playFailureText(int error, const QString& path) {
    if (isNetworkAddress(path)) {
        switch (error) {
            case MPV_ERROR_UNKNOWN_FORMAT:
            case MPV_ERROR_NOTHING_TO_PLAY:
                return u"无法播放该影片：不是可以识别的影片格式。"_s;
            default:
                return u"无法播放该影片：服务器没有应答、找不到影片或连接已中断。"_s;
        }
    }
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
        case MPV_ERROR_AO_INIT_FAILED:
            // A file with sound only, and no sound device to play it on.
            return u"无法播放“%1”：无法打开声音设备，请检查声卡和声音设置。"_s.arg(name);
        case MPV_ERROR_VO_INIT_FAILED:
            return u"无法播放“%1”：无法显示图像，请检查显卡驱动。"_s.arg(name);
        default:
            // mpv's own words are English: they go to the log, the user reads Chinese.
            qCWarning(lcPlayer).noquote() << u"%1 not played: %2"_s.arg(
                path, QString::fromUtf8(libmpv().error_string(error)));
            return u"无法播放“%1”：播放时出错，文件可能已经损坏。"_s.arg(name);
    }
}

MpvPlayer* MpvPlayer::create(QWidget* parent, MpvOptions options) {
    const bool openGl = options.renderVideo && openGlAvailable();
    std::unique_ptr<MpvCore> core =
        MpvCore::create({.renderVideo = openGl, .audio = options.audio});
    if (!core) {
        return nullptr;
    }
    QString noVideoReason;
    if (options.renderVideo && !openGl) {
        noVideoReason = u"本机没有可用的 OpenGL，无法显示视频画面，只能播放声音。"_s;
    } else if (openGl && core->renderContext() == nullptr) {
        noVideoReason = u"无法显示视频画面，只能播放声音。"_s;
    }
    QWidget* view = nullptr;
    if (MpvRenderContext* render = core->renderContext()) {
        view = new MpvVideoWidget(*render, parent);
    } else {
        view = new QWidget(parent);
        view->setStyleSheet(u"background: black;"_s);
        view->setAttribute(Qt::WA_StyledBackground);
    }
    return new MpvPlayer(std::move(core), view, std::move(noVideoReason));
}

MpvPlayer::MpvPlayer(std::unique_ptr<MpvCore> core, QWidget* view, QString noVideoReason)
    : core_(std::move(core)),
      view_(view),
      video_(qobject_cast<MpvVideoWidget*>(view)),
      noVideoReason_(std::move(noVideoReason)) {
    // Goes with its widget; the core it owns frees its render context on its own.
    setParent(view);
    connect(core_.get(), &MpvCore::eventsWaiting, this, &MpvPlayer::drainEvents);
}

MpvPlayer::~MpvPlayer() = default;

void MpvPlayer::stop() {
    loaded_.clear();
    // Told to mpv once control is back in the event loop: a file played straight after (the open
    // dialog, a double-clicked row) replaces this one instead, and mpv does not take its video
    // output down and build it again in between, nor is the picture turned black in between.
    if (!std::exchange(stopPending_, true)) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (std::exchange(stopPending_, false)) {
                    if (video_) {
                        video_->setPlaying(false);
                    }
                    core_->command({"stop"});
                }
            },
            Qt::QueuedConnection);
    }
    if (hasFile_) {
        forgetFile();
        Q_EMIT stateChanged();
    }
}

void MpvPlayer::setPaused(bool paused) {
    if (!hasFile_) {
        return;
    }
    if (!paused && atEnd_) {
        // Played again from its last frame: from the beginning.
        core_->command({"seek", "0", "absolute"});
    }
    core_->setProperty(mpvprop::kPause, paused ? "yes" : "no");
}

void MpvPlayer::seekTo(double seconds) {
    if (!hasFile_) {
        return;
    }
    // The length may not be known yet just after the file opened.
    const double at = duration_ > 0 ? std::clamp(seconds, 0.0, duration_) : std::max(seconds, 0.0);
    const QByteArray target = QByteArray::number(at, 'f', 3);
    core_->command({"seek", target.constData(), "absolute"});
}

void MpvPlayer::setVolume(int percent) {
    const QByteArray value = QByteArray::number(std::clamp(percent, 0, 100));
    core_->setProperty(mpvprop::kVolume, value.constData());
}

void MpvPlayer::setMuted(bool muted) {
    core_->setProperty(mpvprop::kMute, muted ? "yes" : "no");
}

void MpvPlayer::setSubtitlesShown(bool shown) {
    subtitlesShown_ = shown;
    core_->setProperty(mpvprop::kSubVisibility, shown ? "yes" : "no");
    Q_EMIT stateChanged();
}

QString MpvPlayer::subtitleLine() const {
    return core_->stringProperty(mpvprop::kSubText);
}

void MpvPlayer::setSource(const QString& path) {
    source_ = path;
}

void MpvPlayer::play() {
    if (source_.isEmpty()) {
        return;
    }
    if (!noVideoReason_.isEmpty()) {
        Q_EMIT failed(std::exchange(noVideoReason_, QString()));
    }
    if (source_ == loaded_) {
        setPaused(false);
        return;
    }
    loaded_ = source_;
    stopPending_ = false;
    if (video_) {
        video_->setPlaying(true);
    }
    chooseSubtitles();
    // While the file starts, mpv shows its first frame once that one is decoded, not once the
    // frame after it is (which it needs only to time the first), and does not wait for it to be
    // on screen. Off again once started: in steady playback mpv would time frames by the
    // container's frame rate instead, which many RealMedia files give wrongly.
    core_->setProperty(mpvprop::kVideoLatencyHacks, "yes");
    startShortcut_ = true;
    const QByteArray path = isNetworkAddress(source_) ? source_.toUtf8() : toMpvPath(source_);
    core_->command({"loadfile", path.constData(), "replace"});
    loadPending_ = true;
    core_->setProperty(mpvprop::kPause, "no");
    trace::mark(u"player: file handed to mpv"_s);
}

bool MpvPlayer::selectTrack(MediaTrack::Kind kind, int id) {
    const bool known = std::ranges::any_of(
        tracks_, [&](const MediaTrack& track) { return track.kind == kind && track.id == id; });
    if (!hasFile_ || kind == MediaTrack::Kind::Video || (id != 0 && !known)) {
        qCWarning(lcPlayer) << "track" << id << "refused: the open file has no such track";
        return false;
    }
    const QByteArray value = id == 0 ? QByteArray("no") : QByteArray::number(id);
    core_->setProperty(
        kind == MediaTrack::Kind::Audio ? mpvprop::kAudioTrack : mpvprop::kSubtitleTrack,
        value.constData());
    return true;
}

bool MpvPlayer::addSubtitleFile(const QString& path) {
    if (!hasFile_) {
        return false;
    }
    const QByteArray file = toMpvPath(path);
    const int result = core_->commandNow({"sub-add", file.constData(), "select"});
    if (result < 0) {
        qCWarning(lcPlayer).noquote() << u"subtitle file %1 not loaded: %2"_s.arg(
            path, QString::fromUtf8(libmpv().error_string(result)));
        return false;
    }
    return true;
}

void MpvPlayer::setSubtitleDelay(double seconds) {
    const QByteArray value = QByteArray::number(seconds, 'f', 3);
    core_->setProperty(mpvprop::kSubDelay, value.constData());
}

void MpvPlayer::setSubtitleEncoding(const QString& encoding) {
    subtitleEncoding_ = encoding;
    const QByteArray codepage = codepageFor(encoding);
    core_->setProperty(mpvprop::kSubCodepage, codepage.constData());
    // A subtitle file is read once: read the shown one again in the new encoding.
    const auto shown = std::ranges::find_if(tracks_, [](const MediaTrack& track) {
        return track.kind == MediaTrack::Kind::Subtitle && track.selected && track.external;
    });
    if (shown != tracks_.end()) {
        const QByteArray id = QByteArray::number(shown->id);
        core_->command({"sub-reload", id.constData()});
    }
}

bool MpvPlayer::setSpeed(double rate) {
    const auto accepted = acceptableSpeed(rate);
    if (!accepted) {
        return false;
    }
    speed_ = *accepted;
    const QByteArray value = QByteArray::number(*accepted, 'f', 3);
    core_->setProperty(mpvprop::kSpeed, value.constData());
    Q_EMIT stateChanged();
    return true;
}

void MpvPlayer::stepFrame(bool forward) {
    if (hasFile_ && paused_) {
        // Frames are stepped with mpv's usual timing, as in steady playback.
        endStartShortcut();
        core_->command({forward ? "frame-step" : "frame-back-step"});
    }
}

bool MpvPlayer::saveScreenshot(const QString& path) {
    if (!hasFile_) {
        return false;
    }
    const QByteArray file = toMpvPath(path);
    // "video": the decoded frame at its own size, without subtitles or messages.
    const int result = core_->commandNow({"screenshot-to-file", file.constData(), "video"});
    if (result < 0 || !QFileInfo::exists(path)) {
        qCWarning(lcPlayer).noquote() << u"screenshot not saved in %1: %2"_s.arg(
            path, QString::fromUtf8(libmpv().error_string(result)));
        return false;
    }
    return true;
}

void MpvPlayer::setHardwareDecoding(bool on) {
    hardwareDecoding_ = on;
    core_->setProperty(mpvprop::kHwdec, hwdecMode(on));
}

void MpvPlayer::endStartShortcut() {
    if (std::exchange(startShortcut_, false)) {
        core_->setProperty(mpvprop::kVideoLatencyHacks, "no");
    }
}

void MpvPlayer::showMessage(const QString& text) {
    const QByteArray line = text.toUtf8();
    core_->command({"show-text", line.constData(), "2000"});
}

QString MpvPlayer::liveProperty(const char* name) const {
    return core_->stringProperty(name);
}

void MpvPlayer::chooseSubtitles() {
    // Set before the load, which reads them when it starts.
    const subtitles::Search search = subtitles::forFilm(source_);
    core_->command({"change-list", mpvprop::kSubFiles, "clr", ""});
    for (const QString& file : search.files) {
        const QByteArray bytes = toMpvPath(file);
        core_->command({"change-list", mpvprop::kSubFiles, "append", bytes.constData()});
    }
    core_->setProperty(mpvprop::kSubAuto, search.automatic ? "fuzzy" : "no");
    if (!search.refused.isEmpty()) {
        qCWarning(lcPlayer).noquote()
            << u"subtitles that are no regular files left out: "_s + search.refused.join(u", "_s);
    }
}

QWidget* MpvPlayer::widget() const {
    return view_;
}

double MpvPlayer::livePosition() const {
    return core_->doubleProperty(mpvprop::kTimePos).value_or(-1);
}

QString MpvPlayer::openPath() const {
    return core_->stringProperty(mpvprop::kPath);
}

void MpvPlayer::drainEvents() {
    // A message box shown for a signal runs the event loop, which may end the player.
    const QPointer<MpvPlayer> alive(this);
    while (alive) {
        const mpv_event* event = core_->nextEvent();
        if (event == nullptr) {
            return;
        }
        dispatch(*event);
    }
}

void MpvPlayer::dispatch(const mpv_event& event) {
    const QPointer<MpvPlayer> alive(this);
    switch (event.event_id) {
        case MPV_EVENT_PROPERTY_CHANGE:
            readProperty(event);
            Q_EMIT stateChanged();
            break;
        case MPV_EVENT_FILE_LOADED:
            fileOpened();
            break;
        case MPV_EVENT_PLAYBACK_RESTART:
            // Also after every seek; only the first one after loading is news. One that comes
            // after another file was handed over is the replaced file's.
            if (hasFile_ && !loadPending_ && !std::exchange(started_, true)) {
                trace::mark(u"player: playback started"_s);
                endStartShortcut();
                if (video_) {
                    // A file with sound only leaves nothing of the film before it on screen.
                    if (core_->stringProperty(mpvprop::kVideoTrack) == u"no"_s) {
                        video_->setPlaying(false);
                    } else {
                        video_->setStarted();
                    }
                }
                Q_EMIT stateChanged();
            }
            break;
        case MPV_EVENT_END_FILE:
            fileEnded(*static_cast<const mpv_event_end_file*>(event.data));
            break;
        case MPV_EVENT_LOG_MESSAGE:
            logMpvMessage(*static_cast<const mpv_event_log_message*>(event.data));
            break;
        default:
            break;
    }
    // Told after what the event changed, so that listeners read the state at the end.
    if (!alive.isNull() && std::exchange(endJustReached_, false)) {
        Q_EMIT endReached();
    }
}

void MpvPlayer::readProperty(const mpv_event& event) {
    const auto& property = *static_cast<const mpv_event_property*>(event.data);
    switch (static_cast<mpvprop::Observed>(event.reply_userdata)) {
        case mpvprop::Observed::TimePos:
            position_ = doubleValue(property);
            break;
        case mpvprop::Observed::Duration:
            duration_ = doubleValue(property);
            break;
        case mpvprop::Observed::Volume:
            if (property.format == MPV_FORMAT_DOUBLE) {
                volume_ = static_cast<int>(std::lround(doubleValue(property)));
            }
            break;
        case mpvprop::Observed::Pause:
            paused_ = flagValue(property);
            break;
        case mpvprop::Observed::Mute:
            muted_ = flagValue(property);
            break;
        case mpvprop::Observed::EofReached:
            noteEnd(flagValue(property));
            break;
        case mpvprop::Observed::TrackList: {
            QList<MediaTrack> tracks = readTracks(property);
            if (tracks != tracks_) {
                tracks_ = std::move(tracks);
                Q_EMIT tracksChanged();
            }
            break;
        }
        case mpvprop::Observed::SubDelay:
            subtitleDelay_ = doubleValue(property);
            break;
        case mpvprop::Observed::Speed:
            if (property.format == MPV_FORMAT_DOUBLE) {
                speed_ = doubleValue(property);
            }
            break;
        case mpvprop::Observed::MediaTitle:
            mediaTitle_ = property.format == MPV_FORMAT_STRING && property.data != nullptr
                              ? QString::fromUtf8(*static_cast<char* const*>(property.data))
                              : QString();
            break;
    }
}

void MpvPlayer::noteEnd(bool atEnd) {
    // Kept both ways: once the file has left its end (sought back, replaced), playing on does not
    // restart it and its next end is told again.
    if (atEnd && !atEnd_) {
        endJustReached_ = true;
    }
    atEnd_ = atEnd;
}

void MpvPlayer::setSubtitleFiles(const QStringList& addresses) {
    subtitleFiles_ = addresses;
}

void MpvPlayer::fileOpened() {
    trace::mark(u"player: file loaded"_s);
    hasFile_ = true;
    started_ = false;
    loadPending_ = false;
    atEnd_ = false;
    bool first = true;
    for (const QString& address : std::as_const(subtitleFiles_)) {
        const QByteArray file = isNetworkAddress(address) ? address.toUtf8() : toMpvPath(address);
        core_->command({"sub-add", file.constData(), first ? "select" : "auto"});
        first = false;
    }
    const QPointer<MpvPlayer> alive(this);
    Q_EMIT fileLoaded();
    if (alive) {
        Q_EMIT stateChanged();
    }
}

void MpvPlayer::forgetFile() {
    hasFile_ = false;
    started_ = false;
    subtitleDelay_ = 0;
    atEnd_ = false;
    position_ = 0;
    duration_ = 0;
}

void MpvPlayer::fileEnded(const mpv_event_end_file& end) {
    // Copied out: the event is only valid until the next one is taken.
    const int reason = end.reason;
    const int error = end.error;
    const QString path = loaded_;
    const QPointer<MpvPlayer> alive(this);
    if (reason == MPV_END_FILE_REASON_EOF || reason == MPV_END_FILE_REASON_ERROR) {
        loaded_.clear();
    }
    if (loaded_.isEmpty() && hasFile_) {
        forgetFile();
        Q_EMIT stateChanged();
        if (!alive) {
            return;
        }
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
            Q_EMIT failed(playFailureText(MPV_ERROR_UNKNOWN_FORMAT, path));
        }
        return;
    }
    if (reason == MPV_END_FILE_REASON_EOF) {
        noteEnd(true);
    }
    Q_EMIT endFile(reason == MPV_END_FILE_REASON_ERROR);
    if (alive && reason == MPV_END_FILE_REASON_ERROR) {
        Q_EMIT failed(playFailureText(error, path));
    }
}

}  // namespace tivora
