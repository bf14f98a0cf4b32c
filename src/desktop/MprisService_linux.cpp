#include "desktop/MprisService_linux.h"

#include "desktop/MprisService.h"
#include "forms/Logging.h"
#include "forms/PlayerControl.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

#include <QUrl>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

constexpr double kMicroseconds = 1e6;
const QString kPropertiesInterface = u"org.freedesktop.DBus.Properties"_s;
const QString kRootInterface = u"org.mpris.MediaPlayer2"_s;
const QString kPlayerInterface = u"org.mpris.MediaPlayer2.Player"_s;

qint64 microseconds(double seconds) {
    return static_cast<qint64>(std::llround(seconds * kMicroseconds));
}

// org.mpris.MediaPlayer2: who the player is.
class MprisRoot final : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ canQuit)
    Q_PROPERTY(bool CanRaise READ canRaise)
    Q_PROPERTY(bool HasTrackList READ hasTrackList)
    Q_PROPERTY(QString Identity READ identity)
    Q_PROPERTY(QString DesktopEntry READ desktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ uriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ mimeTypes)

public:
    explicit MprisRoot(MprisService* service) : QDBusAbstractAdaptor(service), service_(service) {}

    [[nodiscard]] static bool canQuit() { return false; }
    [[nodiscard]] static bool canRaise() { return true; }
    [[nodiscard]] static bool hasTrackList() { return false; }
    [[nodiscard]] static QString identity() { return u"Tivora"_s; }
    [[nodiscard]] static QString desktopEntry() { return u"tivora"_s; }
    [[nodiscard]] static QStringList uriSchemes() { return {u"file"_s}; }
    [[nodiscard]] static QStringList mimeTypes() {
        return {u"video/mp4"_s,
                u"video/x-matroska"_s,
                u"video/x-msvideo"_s,
                u"video/quicktime"_s,
                u"video/webm"_s,
                u"application/vnd.rn-realmedia"_s,
                u"application/vnd.rn-realmedia-vbr"_s};
    }

public Q_SLOTS:  // NOLINT(readability-redundant-access-specifiers): moc needs the mark
    void Raise() { Q_EMIT service_->raiseRequested(); }
    void Quit() { qCInfo(lcDesktop) << "MPRIS Quit ignored: the player does not quit the program"; }

private:
    MprisService* service_;
};

// org.mpris.MediaPlayer2.Player: transport and what plays.
class MprisPlayer final : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(double Rate READ rate WRITE setRate)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(double Volume READ volume WRITE setVolume)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(double MinimumRate READ minimumRate)
    Q_PROPERTY(double MaximumRate READ maximumRate)
    Q_PROPERTY(bool CanGoNext READ canGoNext)
    Q_PROPERTY(bool CanGoPrevious READ canGoPrevious)
    Q_PROPERTY(bool CanPlay READ canPlay)
    Q_PROPERTY(bool CanPause READ canPause)
    Q_PROPERTY(bool CanSeek READ canSeek)
    Q_PROPERTY(bool CanControl READ canControl)

public:
    explicit MprisPlayer(MprisService* service)
        : QDBusAbstractAdaptor(service), service_(service) {}

    [[nodiscard]] QString playbackStatus() const { return service_->playbackStatus(); }
    [[nodiscard]] double rate() const { return service_->state().rate; }
    void setRate(double rate) { service_->requestRate(rate); }
    [[nodiscard]] QVariantMap metadata() const { return service_->metadata(); }
    [[nodiscard]] double volume() const { return service_->state().volume / 100.0; }
    void setVolume(double volume) { service_->requestVolume(volume); }
    [[nodiscard]] qlonglong position() const { return microseconds(service_->state().position); }
    [[nodiscard]] static double minimumRate() { return PlayerControl::kSlowest; }
    [[nodiscard]] static double maximumRate() { return PlayerControl::kFastest; }
    [[nodiscard]] bool canGoNext() const { return service_->state().canGoNext; }
    [[nodiscard]] bool canGoPrevious() const { return service_->state().canGoPrevious; }
    [[nodiscard]] bool canPlay() const { return service_->state().hasFile; }
    [[nodiscard]] bool canPause() const { return service_->state().hasFile; }
    [[nodiscard]] bool canSeek() const { return service_->state().duration > 0; }
    [[nodiscard]] static bool canControl() { return true; }

public Q_SLOTS:  // NOLINT(readability-redundant-access-specifiers): moc needs the mark
    void Play() { Q_EMIT service_->playRequested(); }
    void Pause() { Q_EMIT service_->pauseRequested(); }
    void PlayPause() { Q_EMIT service_->playPauseRequested(); }
    void Stop() { Q_EMIT service_->stopRequested(); }
    void Next() { Q_EMIT service_->nextRequested(); }
    void Previous() { Q_EMIT service_->previousRequested(); }
    void Seek(qlonglong offset) { service_->seekBy(offset); }
    void SetPosition(const QDBusObjectPath& track, qlonglong position) {
        service_->setPosition(track, position);
    }
    void OpenUri(const QString& uri) {
        qCWarning(lcDesktop).noquote() << u"MPRIS OpenUri refused: "_s + uri;
    }

private:
    MprisService* service_;
};

}  // namespace

MprisService::MprisService() {
    new MprisRoot(this);
    new MprisPlayer(this);
}

MprisService::~MprisService() {
    if (registered_) {
        QDBusConnection bus = QDBusConnection::sessionBus();
        bus.unregisterObject(QString::fromLatin1(kObjectPath));
        bus.unregisterService(QString::fromLatin1(kServiceName));
    }
}

bool MprisService::registerOnBus() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        qCDebug(lcDesktop) << "no session bus: no desktop media controls";
        return false;
    }
    if (!bus.registerObject(QString::fromLatin1(kObjectPath), this,
                            QDBusConnection::ExportAdaptors)) {
        qCWarning(lcDesktop) << "the MPRIS object could not be registered";
        return false;
    }
    if (!bus.registerService(QString::fromLatin1(kServiceName))) {
        qCWarning(lcDesktop).noquote() << u"the bus name %1 is taken: %2"_s.arg(
            QString::fromLatin1(kServiceName), bus.lastError().message());
        bus.unregisterObject(QString::fromLatin1(kObjectPath));
        return false;
    }
    registered_ = true;
    return true;
}

QString MprisService::playbackStatus() const {
    if (!state_.hasFile) {
        return u"Stopped"_s;
    }
    return state_.paused ? u"Paused"_s : u"Playing"_s;
}

QDBusObjectPath MprisService::trackId() const {
    if (!state_.hasFile) {
        return QDBusObjectPath(u"/org/mpris/MediaPlayer2/TrackList/NoTrack"_s);
    }
    return QDBusObjectPath(u"/org/mpris/MediaPlayer2/tivora/track/%1"_s.arg(track_));
}

QVariantMap MprisService::metadata() const {
    QVariantMap map{{u"mpris:trackid"_s, QVariant::fromValue(trackId())}};
    if (!state_.hasFile) {
        return map;
    }
    map.insert(u"xesam:title"_s, state_.title);
    if (state_.duration > 0) {
        map.insert(u"mpris:length"_s, microseconds(state_.duration));
    }
    if (!state_.path.isEmpty()) {
        map.insert(u"xesam:url"_s, QUrl::fromLocalFile(state_.path).toString());
    }
    return map;
}

void MprisService::update(const State& state) {
    const State before = state_;
    const QString statusBefore = playbackStatus();
    const QVariantMap metadataBefore = metadata();
    if (state.hasFile && (!before.hasFile || state.path != before.path)) {
        ++track_;
    }
    state_ = state;
    if (!registered_) {
        return;
    }
    QVariantMap changed;
    if (playbackStatus() != statusBefore) {
        changed.insert(u"PlaybackStatus"_s, playbackStatus());
    }
    if (metadata() != metadataBefore) {
        changed.insert(u"Metadata"_s, metadata());
    }
    if (state.rate != before.rate) {
        changed.insert(u"Rate"_s, state.rate);
    }
    if (state.volume != before.volume) {
        changed.insert(u"Volume"_s, state.volume / 100.0);
    }
    if (state.canGoNext != before.canGoNext) {
        changed.insert(u"CanGoNext"_s, state.canGoNext);
    }
    if (state.canGoPrevious != before.canGoPrevious) {
        changed.insert(u"CanGoPrevious"_s, state.canGoPrevious);
    }
    if (state.hasFile != before.hasFile) {
        changed.insert(u"CanPlay"_s, state.hasFile);
        changed.insert(u"CanPause"_s, state.hasFile);
    }
    if ((state.duration > 0) != (before.duration > 0)) {
        changed.insert(u"CanSeek"_s, state.duration > 0);
    }
    if (!changed.isEmpty()) {
        tellChanged(kPlayerInterface, changed);
    }
}

void MprisService::tellChanged(const QString& interface, const QVariantMap& changed) const {
    QDBusMessage signal = QDBusMessage::createSignal(QString::fromLatin1(kObjectPath),
                                                     kPropertiesInterface, u"PropertiesChanged"_s);
    signal << interface << changed << QStringList();
    QDBusConnection::sessionBus().send(signal);
}

void MprisService::seeked(double position) {
    if (!registered_) {
        return;
    }
    QDBusMessage signal =
        QDBusMessage::createSignal(QString::fromLatin1(kObjectPath), kPlayerInterface, u"Seeked"_s);
    signal << static_cast<qlonglong>(microseconds(position));
    QDBusConnection::sessionBus().send(signal);
}

void MprisService::seekBy(qint64 offsetMicroseconds) {
    if (!state_.hasFile) {
        return;
    }
    const double target = state_.position + static_cast<double>(offsetMicroseconds) / kMicroseconds;
    if (state_.duration > 0 && target > state_.duration) {
        // As the interface asks: past the end is the next track.
        Q_EMIT nextRequested();
        return;
    }
    Q_EMIT positionRequested(std::max(target, 0.0));
}

void MprisService::setPosition(const QDBusObjectPath& track, qint64 positionMicroseconds) {
    if (!state_.hasFile || track != trackId()) {
        qCWarning(lcDesktop).noquote()
            << u"MPRIS SetPosition refused: track %1 is not the one playing"_s.arg(track.path());
        return;
    }
    const double seconds = static_cast<double>(positionMicroseconds) / kMicroseconds;
    if (seconds < 0 || (state_.duration > 0 && seconds > state_.duration)) {
        qCWarning(lcDesktop) << "MPRIS SetPosition refused:" << seconds << "s is outside the file";
        return;
    }
    Q_EMIT positionRequested(seconds);
}

void MprisService::requestRate(double rate) {
    // The player clamps or refuses it, and says so.
    Q_EMIT rateRequested(rate);
}

void MprisService::requestVolume(double volume) {
    if (!std::isfinite(volume)) {
        qCWarning(lcDesktop) << "MPRIS volume refused:" << volume;
        return;
    }
    const double clamped = std::clamp(volume, 0.0, 1.0);
    if (clamped != volume) {
        qCWarning(lcDesktop) << "MPRIS volume" << volume << "clamped to" << clamped;
    }
    Q_EMIT volumeRequested(static_cast<int>(std::lround(clamped * 100)));
}

std::unique_ptr<MediaControls> createSystemMediaControls() {
    auto service = std::make_unique<MprisService>();
    if (!service->registerOnBus()) {
        return nullptr;
    }
    return service;
}

}  // namespace tivora

#include "MprisService_linux.moc"
