#pragma once

#include "forms/PlayerControl.h"

#include <QPointer>
#include <QStringList>

#include <memory>

struct mpv_event;
struct mpv_event_end_file;

namespace tivora {

class MpvCore;
class MpvVideoWidget;
namespace test {
class MpvProbe;
}

struct MpvOptions {
    // False: no video output and no render context, as for tests without a display.
    bool renderVideo = true;
    bool audio = true;
};

// What the user is told, in Chinese, when mpv could not play the file or address (error is mpv's).
[[nodiscard]] QString playFailureText(int error, const QString& path);

// The player control over libmpv: the video drawn in a widget of the window, events delivered
// on the user-interface thread.
class MpvPlayer final : public PlayerControl {
    Q_OBJECT

public:
    // Null when libmpv cannot start. The player belongs to its widget, made inside parent.
    [[nodiscard]] static MpvPlayer* create(QWidget* parent, MpvOptions options = {});
    ~MpvPlayer() override;
    Q_DISABLE_COPY_MOVE(MpvPlayer)

    void stop() override;
    void setSource(const QString& path) override;
    // Starts the source from its beginning unless it is the one already playing.
    void play() override;
    [[nodiscard]] QWidget* widget() const override;
    void setPaused(bool paused) override;
    void seekTo(double seconds) override;
    void setVolume(int percent) override;
    void setMuted(bool muted) override;
    void setSubtitlesShown(bool shown) override;
    [[nodiscard]] bool subtitlesShown() const override { return subtitlesShown_; }
    // Subtitle files (paths or network addresses) loaded with each file played from now on.
    void setSubtitleFiles(const QStringList& addresses);
    [[nodiscard]] bool hasFile() const override { return hasFile_; }
    [[nodiscard]] bool hasStarted() const override { return hasFile_ && started_; }
    [[nodiscard]] bool isPaused() const override { return paused_; }
    [[nodiscard]] double position() const override { return position_; }
    [[nodiscard]] double duration() const override { return duration_; }
    [[nodiscard]] int volume() const override { return volume_; }
    [[nodiscard]] bool isMuted() const override { return muted_; }
    [[nodiscard]] QList<MediaTrack> tracks() const override { return tracks_; }
    bool selectTrack(MediaTrack::Kind kind, int id) override;
    bool addSubtitleFile(const QString& path) override;
    void setSubtitleDelay(double seconds) override;
    [[nodiscard]] double subtitleDelay() const override { return subtitleDelay_; }
    void setSubtitleEncoding(const QString& encoding) override;
    [[nodiscard]] QString subtitleEncoding() const override { return subtitleEncoding_; }
    bool setSpeed(double rate) override;
    [[nodiscard]] double speed() const override { return speed_; }
    void stepFrame(bool forward) override;
    bool saveScreenshot(const QString& path) override;
    void setHardwareDecoding(bool on) override;
    [[nodiscard]] bool hardwareDecoding() const override { return hardwareDecoding_; }
    void showMessage(const QString& text) override;
    [[nodiscard]] QString mediaTitle() const override { return hasFile_ ? mediaTitle_ : QString(); }

Q_SIGNALS:
    void fileLoaded();
    // A file stopped playing: at its end, replaced, stopped, or because it failed.
    void endFile(bool byError);

private:
    friend class test::MpvProbe;

    // Asked of mpv now rather than as last observed.
    // Seconds into the current file; negative when nothing plays.
    [[nodiscard]] double livePosition() const;
    // The file mpv has open; empty when idle.
    [[nodiscard]] QString openPath() const;
    // The subtitle line on screen now.
    [[nodiscard]] QString subtitleLine() const;
    // A property as mpv has it now.
    [[nodiscard]] QString liveProperty(const char* name) const;
    MpvPlayer(std::unique_ptr<MpvCore> core, QWidget* view, QString noVideoReason);
    void drainEvents();
    void dispatch(const mpv_event& event);
    // A change of one of the observed properties.
    void readProperty(const mpv_event& event);
    void fileOpened();
    void fileEnded(const mpv_event_end_file& end);
    void forgetFile();
    // Whether the file is at its end now; the end is told once the event has been read.
    void noteEnd(bool atEnd);
    // mpv's usual frame timing back after a file's start.
    void endStartShortcut();
    // Which subtitle files come with the next file loaded.
    void chooseSubtitles();

    std::unique_ptr<MpvCore> core_;
    QPointer<QWidget> view_;
    QPointer<MpvVideoWidget> video_;
    // Why the picture cannot be shown, told once when the first file plays; empty when it can.
    QString noVideoReason_;
    QString source_;
    QStringList subtitleFiles_;
    // The file last handed to mpv while it has not ended.
    QString loaded_;
    // A stop not yet told to mpv.
    bool stopPending_ = false;
    bool hasFile_ = false;
    // The open file's playback has begun: mpv restarted playback after loading it.
    bool started_ = false;
    // A file was handed to mpv and has not opened yet.
    bool loadPending_ = false;
    bool startShortcut_ = false;  // mpv shows the starting file's first frame once decoded
    bool paused_ = false;
    bool muted_ = false;
    bool subtitlesShown_ = true;
    // Paused on the last frame of a file played to its end.
    bool atEnd_ = false;
    bool endJustReached_ = false;
    double position_ = 0;
    double duration_ = 0;
    int volume_ = 100;
    QList<MediaTrack> tracks_;
    double subtitleDelay_ = 0;
    QString subtitleEncoding_;
    double speed_ = 1;
    bool hardwareDecoding_ = true;
    QString mediaTitle_;
};

}  // namespace tivora
