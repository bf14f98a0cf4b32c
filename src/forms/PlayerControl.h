#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

class QWidget;

namespace tivora {

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
    [[nodiscard]] virtual bool isPaused() const = 0;
    // Seconds; 0 while unknown.
    [[nodiscard]] virtual double position() const = 0;
    [[nodiscard]] virtual double duration() const = 0;
    [[nodiscard]] virtual int volume() const = 0;
    [[nodiscard]] virtual bool isMuted() const = 0;
    [[nodiscard]] virtual bool subtitlesShown() const = 0;

Q_SIGNALS:
    // Playback could not start; the text is for the user.
    void failed(const QString& reason);
    // Any of the readings above changed.
    void stateChanged();
    // The open file played to its end.
    void endReached();
};

}  // namespace tivora
