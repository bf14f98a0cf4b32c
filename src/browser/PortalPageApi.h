#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace tivora {

// A film a portal page asks the client to play.
struct PortalFilmRequest {
    QString address;
    QString title;
    QString filmId;     // empty when the page named none
    double start = -1;  // seconds; negative: where it was left, else from the beginning
    QStringList subtitles;
    bool takeover = false;  // the page's own player element, taken over
};

// The object a portal page reaches as "tivora" over the web channel. Every call carries the
// page's token; calls without it, with wrong types or beyond a sane rate are ignored (the rate
// with one warning), and only network addresses a player may fetch are passed on.
class PortalPageApi final : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool takeover READ takeover NOTIFY takeoverChanged)

public:
    static constexpr int kMaxCallsPerSecond = 30;
    static constexpr int kMaxPlacesPerSecond = 240;
    static constexpr int kMaxAddressLength = 8192;
    static constexpr int kMaxSubtitles = 8;

    PortalPageApi(QString token, bool takeover, QObject* parent);

    // Whether a page may have this address played: http or https (and, for a legacy player
    // element, rtsp or mms), with a host.
    [[nodiscard]] static bool isPlayableAddress(const QString& address, bool legacyElement);

    [[nodiscard]] bool takeover() const { return takeover_; }
    void setTakeover(bool on);

    Q_INVOKABLE void play(const QVariant& token, const QVariant& address, const QVariant& options);
    Q_INVOKABLE void pause(const QVariant& token);
    Q_INVOKABLE void resume(const QVariant& token);
    Q_INVOKABLE void seek(const QVariant& token, const QVariant& seconds);
    Q_INVOKABLE void stop(const QVariant& token);
    // The film's element in CSS pixels of the viewport: x, y, width, height, shown (laid out and
    // not hidden by its style), pageHidden (the page is not shown).
    Q_INVOKABLE void place(const QVariant& token, const QVariant& rect);
    Q_INVOKABLE void elementGone(const QVariant& token);
    // The page's script held back calls beyond the rate.
    Q_INVOKABLE void tooOften(const QVariant& token);

Q_SIGNALS:
    // To the page.
    void positionChanged(double position, double duration);
    void ended();
    void failed(const QString& message);
    void handedBack(const QString& address, double position);
    void takeoverChanged(bool on);

    // To the client.
    void playRequested(const tivora::PortalFilmRequest& request);
    void pauseRequested();
    void resumeRequested();
    void seekRequested(double seconds);
    void stopRequested();
    void placed(const QRectF& rect, bool shown, bool pageHidden);
    void refused(const QString& message);

private:
    // False (and the call ignored) for a wrong token or a call over the rate.
    bool admit(const QVariant& token, bool placement = false);
    void refuse(const QString& message);
    void warnTooOften();

    QString token_;
    bool takeover_;
    QElapsedTimer window_;
    int calls_ = 0;
    int places_ = 0;
    bool warnedRate_ = false;
};

}  // namespace tivora
