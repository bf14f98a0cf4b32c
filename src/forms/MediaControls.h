#pragma once

#include <QObject>
#include <QString>

namespace tivora {

// The desktop's own controls for the player that plays now (media keys, a panel's player
// widget): told what plays, they ask the player window for transport.
class MediaControls : public QObject {
    Q_OBJECT

public:
    struct State {
        bool hasFile = false;
        bool paused = false;
        // Seconds.
        double position = 0;
        double duration = 0;
        double rate = 1;
        // 0 to 100 percent.
        int volume = 100;
        QString title;
        QString path;
        bool canGoNext = false;
        bool canGoPrevious = false;
    };

    using QObject::QObject;
    ~MediaControls() override;

    // What plays now; the controls tell the desktop what changed.
    virtual void update(const State& state) = 0;
    // The player jumped to a new position (not the steady advance of playing).
    virtual void seeked(double position) = 0;

Q_SIGNALS:
    void playRequested();
    void pauseRequested();
    void playPauseRequested();
    void stopRequested();
    void nextRequested();
    void previousRequested();
    // Seconds from the start.
    void positionRequested(double seconds);
    void rateRequested(double rate);
    // 0 to 100 percent.
    void volumeRequested(int percent);
    void raiseRequested();
};

}  // namespace tivora
