#include "support/FakeServices.h"

#include "art/Artwork.h"
#include "forms/Folders.h"
#include "forms/FormError.h"
#include "forms/MediaControls.h"
#include "forms/MessageBoxStyle.h"

#include <QFileInfo>
#include <QImage>
#include <QStandardPaths>

#include <QUrl>
#include <QWidget>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace tivora::test {

FakeBrowserPane::FakeBrowserPane(QStringList& log, QWidget* parent)
    : log_(log), widget_(new QWidget(parent)) {
    setParent(widget_);
}

QString FakeBrowserPane::name() const {
    return widget_ ? widget_->objectName() : QString();
}

void FakeBrowserPane::navigate(const QString& address) {
    if (!failingAddress_.isEmpty() && address == failingAddress_) {
        throw FormError(u"navigation failed: "_s + address);
    }
    const QString window = widget_ ? widget_->window()->windowTitle() : QString();
    log_ << u"navigate %1/%2 %3"_s.arg(window, name(), address);
    navigations_ << address;
    ++navigationCount_;
    url_ = address;
    hasDocument_ = false;
}

void FakeBrowserPane::refresh() {
    log_ << u"refresh %1"_s.arg(name());
    ++refreshes_;
    ++navigationCount_;
}

QString FakeBrowserPane::outerHTML() const {
    if (!hasDocument_) {
        throw FormError(u"The browser pane has no document"_s);
    }
    return markup_;
}

void FakeBrowserPane::complete(const QString& markup, bool ok) {
    complete(markup, ok ? LoadOutcome::Succeeded : LoadOutcome::Unreachable, navigationCount_);
}

void FakeBrowserPane::complete(const QString& markup, LoadOutcome outcome, quint64 navigation) {
    markup_ = markup;
    hasDocument_ = true;
    outcome_ = outcome;
    completed_ = navigation;
    Q_EMIT documentComplete(url_);
}

NewWindowRequest FakeBrowserPane::requestNewWindow() {
    NewWindowRequest request;
    Q_EMIT newWindow2(request);
    return request;
}

void FakeFileDialog::showOpen() {
    ++shown;
    const QString chosen = chooser_ ? chooser_() : QString();
    if (!chosen.isEmpty()) {
        reportChosenFile(chosen);
    }
}

FakePlayer::FakePlayer(QStringList& log, QWidget* parent)
    : log_(log), widget_(new QWidget(parent)) {
    setParent(widget_);
}

void FakePlayer::stop() {
    log_ << u"player stop"_s;
    hasFile_ = false;
    position_ = 0;
    Q_EMIT stateChanged();
}

void FakePlayer::setSource(const QString& path) {
    log_ << u"player source "_s + path;
    source_ = path;
}

void FakePlayer::play() {
    log_ << u"player play"_s;
    if (!hasFile_ || title_ != QFileInfo(source_).fileName()) {
        title_ = QFileInfo(source_).fileName();
        tracks_ = fileTracks;
        subtitleDelay_ = 0;
        Q_EMIT tracksChanged();
    }
    hasFile_ = true;
    startHeld_ = startLater;
    paused_ = false;
    Q_EMIT stateChanged();
}

void FakePlayer::startForTesting() {
    startHeld_ = false;
    Q_EMIT stateChanged();
}

void FakePlayer::setPaused(bool paused) {
    log_ << u"player pause %1"_s.arg(paused ? u"yes"_s : u"no"_s);
    paused_ = hasFile_ && paused;
    Q_EMIT stateChanged();
}

void FakePlayer::seekTo(double seconds) {
    if (hasFile_) {
        position_ = std::clamp(seconds, 0.0, duration_);
        log_ << u"player seek %1"_s.arg(position_);
        Q_EMIT stateChanged();
    }
}

void FakePlayer::setVolume(int percent) {
    volume_ = std::clamp(percent, 0, 100);
    log_ << u"player volume %1"_s.arg(volume_);
    Q_EMIT stateChanged();
}

void FakePlayer::setMuted(bool muted) {
    muted_ = muted;
    log_ << u"player mute %1"_s.arg(muted ? u"yes"_s : u"no"_s);
    Q_EMIT stateChanged();
}

void FakePlayer::setSubtitlesShown(bool shown) {
    subtitles_ = shown;
    log_ << u"player subtitles %1"_s.arg(shown ? u"yes"_s : u"no"_s);
    Q_EMIT stateChanged();
}

QList<MediaTrack> FakePlayer::tracks() const {
    return hasFile_ ? tracks_ : QList<MediaTrack>();
}

bool FakePlayer::selectTrack(MediaTrack::Kind kind, int id) {
    const bool known = id == 0 || std::ranges::any_of(tracks_, [&](const MediaTrack& track) {
                           return track.kind == kind && track.id == id;
                       });
    if (!hasFile_ || !known) {
        log_ << u"player track %1 refused"_s.arg(id);
        return false;
    }
    for (MediaTrack& track : tracks_) {
        if (track.kind == kind) {
            track.selected = track.id == id;
        }
    }
    log_ << u"player track %1 %2"_s.arg(static_cast<int>(kind)).arg(id);
    Q_EMIT stateChanged();
    return true;
}

bool FakePlayer::addSubtitleFile(const QString& path) {
    log_ << u"player subtitle file "_s + path;
    if (!hasFile_) {
        return false;
    }
    int id = 1;
    for (const MediaTrack& track : tracks_) {
        if (track.kind == MediaTrack::Kind::Subtitle) {
            id = std::max(id, track.id + 1);
        }
    }
    MediaTrack added;
    added.id = id;
    added.kind = MediaTrack::Kind::Subtitle;
    added.title = QFileInfo(path).fileName();
    added.selected = true;
    added.external = true;
    tracks_ << added;
    Q_EMIT tracksChanged();
    return true;
}

void FakePlayer::setSubtitleDelay(double seconds) {
    subtitleDelay_ = seconds;
    log_ << u"player subtitle delay %1"_s.arg(seconds);
    Q_EMIT stateChanged();
}

void FakePlayer::setSubtitleEncoding(const QString& encoding) {
    encoding_ = encoding;
    log_ << u"player subtitle encoding "_s + encoding;
}

bool FakePlayer::setSpeed(double rate) {
    const auto accepted = acceptableSpeed(rate);
    if (!accepted) {
        return false;
    }
    speed_ = *accepted;
    log_ << u"player speed %1"_s.arg(speed_);
    Q_EMIT stateChanged();
    return true;
}

void FakePlayer::stepFrame(bool forward) {
    log_ << (forward ? u"player frame on"_s : u"player frame back"_s);
}

bool FakePlayer::saveScreenshot(const QString& path) {
    log_ << u"player screenshot "_s + path;
    QImage frame(videoSize, QImage::Format_RGB32);
    frame.fill(Qt::darkBlue);
    return frame.save(path, "PNG");
}

void FakePlayer::setHardwareDecoding(bool on) {
    hardwareDecoding_ = on;
    log_ << u"player hwdec %1"_s.arg(on ? u"yes"_s : u"no"_s);
}

void FakePlayer::showMessage(const QString& text) {
    messages << text;
}

void FakePlayer::finishForTesting() {
    // As mpv does: paused on the last frame.
    position_ = duration_;
    paused_ = true;
    Q_EMIT stateChanged();
    Q_EMIT endReached();
}

FakeServices::FakeServices() {
    programFolderPath = folder_.path();
}

FakeServices::~FakeServices() = default;

BrowserPane* FakeServices::createBrowserPane(QWidget* parent) {
    auto* pane = new FakeBrowserPane(log, parent);
    pane->failNavigationsTo(failingAddress);
    panes_ << pane;
    return pane;
}

int FakeServices::messageBox(const QString& prompt, int style, const QString& title) {
    const RecordedMessage message{prompt, style, title};
    messages << message;
    log << u"message "_s + prompt;
    if (onMessage) {
        onMessage(message);
    }
    if (!answers.isEmpty()) {
        return answers.takeFirst();
    }
    return (style & 0x7) == MsgBox::YesNo ? MsgBox::AnswerNo : MsgBox::AnswerOk;
}

bool FakeServices::startProgram(const QString& program, const QStringList& arguments,
                                WindowStyle style) {
    log << u"start %1 %2 style %3"_s.arg(program, arguments.join(u' '))
               .arg(static_cast<int>(style));
    return !failingPrograms.contains(program);
}

QString FakeServices::findExecutable(const QString& name) const {
    return executables.value(name);
}

bool FakeServices::openUrl(const QUrl& url) {
    log << u"open "_s + url.toString();
    return !openUrlFails;
}

bool FakeServices::downloadFile(const QString& source, const QString& target,
                                const DownloadProgress& /*progress*/) {
    log << u"download %1 -> %2"_s.arg(source, target);
    return downloader ? downloader(source, target) : false;
}

std::unique_ptr<FileDialog> FakeServices::createFileDialog(QWidget* /*parent*/) {
    return std::make_unique<FakeFileDialog>(fileChooser);
}

std::unique_ptr<MediaControls> FakeServices::createMediaControls() {
    return mediaControls ? mediaControls() : nullptr;
}

PlayerControl* FakeServices::createPlayer(QWidget* parent) {
    return new FakePlayer(log, parent);
}

void FakeServices::attachSkin(const QString& skinFile, const QString& password) {
    log << u"skin %1 [%2]"_s.arg(skinFile, password);
}

QString FakeServices::programFolder() const {
    return programFolderPath;
}

QString FakeServices::writableFolderFor(const QString& fileName) const {
    ++writableFolderProbes;
    return chooseWritableFolder(programFolderPath,
                                QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
                                fileName);
}

QPixmap FakeServices::picture(const QString& key) const {
    return art::picture(key);
}

QString FakeServices::playerProgramName() const {
    return playerProgram;
}

QStringList FakeServices::volumeControls() const {
    return mixers;
}

QString FakeServices::mediaDialogFolder() const {
    return userVideosFolder();
}

void FakeServices::keepAwake(const void* holder, bool on) {
    if (on) {
        awake.insert(holder);
    } else {
        awake.remove(holder);
    }
}

void FakeServices::endProgram(int status) {
    log << u"end %1"_s.arg(status);
    endedWith = status;
}

FakeBrowserPane* FakeServices::pane(QStringView name, const QString& windowTitle) const {
    for (const auto& pane : panes_) {
        if (!pane.isNull() && pane->name() == name &&
            (windowTitle.isEmpty() || pane->widget()->window()->windowTitle() == windowTitle)) {
            return pane;
        }
    }
    return nullptr;
}

}  // namespace tivora::test
