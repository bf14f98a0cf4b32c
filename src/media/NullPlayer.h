#pragma once

#include "forms/PlayerControl.h"

#include <QPointer>

class QLabel;

namespace tivora {

// Stands in where no video back end is available: a black area that says so when asked to play.
class NullPlayer final : public PlayerControl {
    Q_OBJECT

public:
    explicit NullPlayer(QWidget* parent);

    void stop() override;
    void setSource(const QString& path) override;
    void play() override;
    [[nodiscard]] QWidget* widget() const override;
    void setPaused(bool /*paused*/) override {}
    void seekTo(double /*seconds*/) override {}
    void setVolume(int /*percent*/) override {}
    void setMuted(bool /*muted*/) override {}
    void setSubtitlesShown(bool /*shown*/) override {}
    [[nodiscard]] bool subtitlesShown() const override { return true; }
    [[nodiscard]] bool hasFile() const override { return false; }
    [[nodiscard]] bool isPaused() const override { return false; }
    [[nodiscard]] double position() const override { return 0; }
    [[nodiscard]] double duration() const override { return 0; }
    [[nodiscard]] int volume() const override { return 100; }
    [[nodiscard]] bool isMuted() const override { return false; }

private:
    QPointer<QLabel> area_;
};

}  // namespace tivora
