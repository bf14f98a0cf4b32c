#pragma once

#include "forms/MediaControls.h"

#include <QDBusObjectPath>
#include <QStringList>
#include <QVariantMap>

namespace tivora {

// MPRIS 2 (org.mpris.MediaPlayer2.tivora): what media keys and panel widgets on Linux desktops
// speak. The two interfaces are adaptors over this object; requests go out as signals.
class MprisService final : public MediaControls {
    Q_OBJECT

public:
    static constexpr auto kServiceName = "org.mpris.MediaPlayer2.tivora";
    static constexpr auto kObjectPath = "/org/mpris/MediaPlayer2";

    MprisService();
    ~MprisService() override;
    Q_DISABLE_COPY_MOVE(MprisService)

    // False when the bus or the name cannot be had.
    [[nodiscard]] bool registerOnBus();

    void update(const State& state) override;
    void seeked(double position) override;

    [[nodiscard]] const State& state() const { return state_; }
    [[nodiscard]] QString playbackStatus() const;
    [[nodiscard]] QVariantMap metadata() const;
    [[nodiscard]] QDBusObjectPath trackId() const;

    // Requests from the bus, checked here: out-of-range values are clamped or refused with a
    // warning.
    void seekBy(qint64 offsetMicroseconds);
    void setPosition(const QDBusObjectPath& track, qint64 positionMicroseconds);
    void requestRate(double rate);
    void requestVolume(double volume);

private:
    void tellChanged(const QString& interface, const QVariantMap& changed) const;

    State state_;
    bool registered_ = false;
    // Counts the files played, so that each has a track id of its own.
    int track_ = 0;
};

}  // namespace tivora
