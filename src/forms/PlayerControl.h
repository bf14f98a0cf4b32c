#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>

#include <optional>

class QWidget;

namespace tivora {

// One stream of the open file, as its container names it.
struct MediaTrack {
    enum class Kind { Video, Audio, Subtitle };
    int id = 0;
    Kind kind = Kind::Video;
    // ISO 639 tag as the file gives it; empty when untagged.
    QString language;
    QString title;
    bool selected = false;
    // Loaded from a file of its own rather than found in the video.
    bool external = false;

    friend bool operator==(const MediaTrack&, const MediaTrack&) = default;
};

// A video player control called by dispatch identifier, as the player window drives it.
class PlayerControl : public QObject {
    Q_OBJECT

public:
    static constexpr int kDispStop = 14;
    static constexpr int kDispSource = 1;
    static constexpr int kDispPlay = 12;

    using QObject::QObject;
    ~PlayerControl() override;

    // Runs the method or property write behind a dispatch identifier. Unknown identifiers throw.
    void invoke(int dispId, const QVariant& argument = {});

    virtual void stop() = 0;
    virtual void setSource(const QString& path) = 0;
    virtual void play() = 0;
    [[nodiscard]] virtual QWidget* widget() const = 0;

    // Transport, for the control's own bar and keys. Nothing happens while no file is open.
    virtual void setPaused(bool paused) = 0;
    // Seconds from the start, clamped to the file.
    virtual void seekTo(double seconds) = 0;
    // 0 to 100 percent.
    virtual void setVolume(int percent) = 0;
    virtual void setMuted(bool muted) = 0;
    // Subtitle files found beside the video are shown unless switched off.
    virtual void setSubtitlesShown(bool shown) = 0;

    // Whether a file is open (playing or paused).
    [[nodiscard]] virtual bool hasFile() const = 0;
    // Whether the open file has started: its first picture (or, without one, its sound) is out.
    // A player that cannot tell answers as hasFile().
    [[nodiscard]] virtual bool hasStarted() const;
    [[nodiscard]] virtual bool isPaused() const = 0;
    // Seconds; 0 while unknown.
    [[nodiscard]] virtual double position() const = 0;
    [[nodiscard]] virtual double duration() const = 0;
    [[nodiscard]] virtual int volume() const = 0;
    [[nodiscard]] virtual bool isMuted() const = 0;
    [[nodiscard]] virtual bool subtitlesShown() const = 0;

    // What a player without these abilities answers: nothing to choose, the speed fixed at 1,
    // requests refused with false.
    static constexpr double kSlowest = 0.5;
    static constexpr double kFastest = 2.0;

    // The rate a player takes for a requested one: clamped to kSlowest..kFastest; none (with a
    // warning) for a rate that is no number or not above 0.
    [[nodiscard]] static std::optional<double> acceptableSpeed(double rate);

    // The open file's streams; empty while none is open.
    [[nodiscard]] virtual QList<MediaTrack> tracks() const;
    // Selects an audio or subtitle track by id; 0 switches subtitles (or sound) off. An id the
    // file does not have is refused.
    virtual bool selectTrack(MediaTrack::Kind kind, int id);
    // Loads a subtitle file for the open video and shows it.
    virtual bool addSubtitleFile(const QString& path);
    // Seconds the subtitles are shown later (negative: earlier).
    virtual void setSubtitleDelay(double seconds);
    [[nodiscard]] virtual double subtitleDelay() const;
    // How subtitle files that are not UTF-8 are read: empty for a guess, else a codec name
    // ("GBK", "BIG5", "UTF-8").
    virtual void setSubtitleEncoding(const QString& encoding);
    [[nodiscard]] virtual QString subtitleEncoding() const;
    // Playback rate, clamped to kSlowest..kFastest; a rate that is no number or not above 0 is
    // refused.
    virtual bool setSpeed(double rate);
    [[nodiscard]] virtual double speed() const;
    // One frame on or back; only while paused.
    virtual void stepFrame(bool forward);
    // Writes the current frame at the video's own size (no subtitles) to a file, its format
    // from its suffix.
    virtual bool saveScreenshot(const QString& path);
    // Decoding on the graphics device where that is known to be safe, else in software.
    virtual void setHardwareDecoding(bool on);
    [[nodiscard]] virtual bool hardwareDecoding() const;
    // Shows a short text on the picture for a moment.
    virtual void showMessage(const QString& text);
    // The open file's title (its tag, else its name); empty while none is open.
    [[nodiscard]] virtual QString mediaTitle() const;

Q_SIGNALS:
    // Playback could not start; the text is for the user.
    void failed(const QString& reason);
    // Any of the readings above changed.
    void stateChanged();
    // The open file played to its end.
    void endReached();
    // The list of streams changed (a file opened, a subtitle file was added).
    void tracksChanged();
};

}  // namespace tivora
