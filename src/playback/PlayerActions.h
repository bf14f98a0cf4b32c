#pragma once

#include "forms/PlayerControl.h"

#include <QObject>
#include <QString>

#include <array>

class QMenu;

namespace tivora {

// What the player's keys and right-click menu do beyond transport: tracks, subtitles, speed,
// frames, screenshots, decoding. Each change is told on the picture.
class PlayerActions final : public QObject {
    Q_OBJECT

public:
    static constexpr double kDelayStep = 0.1;
    static constexpr std::array kSpeeds{0.5, 0.75, 1.0, 1.25, 1.5, 1.75, 2.0};
    // Encodings offered for subtitles; the first (empty) is the automatic guess.
    static const std::array<QString, 4> kEncodings;

    PlayerActions(PlayerControl& player, QObject* parent);

    void shiftSubtitleDelay(double seconds);
    // One step of kSpeeds up (direction > 0) or down; 0 goes back to 1×.
    void stepSpeed(int direction);
    void setSpeed(double rate);
    void stepFrame(bool forward);
    void selectTrack(MediaTrack::Kind kind, int id);
    void setSubtitleEncoding(const QString& encoding);
    void setHardwareDecoding(bool on);
    // The current frame as a PNG in the user's pictures folder, named after the film and the
    // time in it; the path written, empty when nothing could be saved.
    QString takeScreenshot();

    // The right-click menu's entries.
    void fillMenu(QMenu& menu);
    // Audio and subtitle tracks only, for the bar's button.
    void fillTrackMenu(QMenu& menu);

    // "1.5×".
    [[nodiscard]] static QString speedText(double rate);
    // Where screenshots go: the user's pictures folder, else the home folder.
    [[nodiscard]] static QString screenshotFolder();
    // "电影 00-01-23.456.png": the film's name made safe for any file system, and the time.
    [[nodiscard]] static QString screenshotName(const QString& title, double seconds);

Q_SIGNALS:
    void subtitleFileRequested();
    void screenshotSaved(const QString& path);
    void hardwareDecodingChanged(bool on);

private:
    void addTrackEntries(QMenu& menu, MediaTrack::Kind kind);

    PlayerControl& player_;
};

}  // namespace tivora
