#include "browser/PortalPageApi.h"

#include "forms/Logging.h"

#include <QUrl>
#include <QVariantMap>

#include <cmath>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

constexpr int kMaxTitle = 200;
constexpr int kMaxFilmId = 64;

bool isFinite(const QVariant& value) {
    return (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Int ||
            value.typeId() == QMetaType::LongLong) &&
           std::isfinite(value.toDouble());
}

}  // namespace

PortalPageApi::PortalPageApi(QString token, bool takeover, QObject* parent)
    : QObject(parent), token_(std::move(token)), takeover_(takeover) {
    window_.start();
}

bool PortalPageApi::isPlayableAddress(const QString& address, bool legacyElement) {
    if (address.size() > kMaxAddressLength) {
        return false;
    }
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty()) {
        return false;
    }
    const QString scheme = url.scheme().toLower();
    if (scheme == u"http"_s || scheme == u"https"_s) {
        return true;
    }
    // Streams that legacy player elements named; still only from the network.
    return legacyElement && (scheme == u"rtsp"_s || scheme == u"rtsps"_s || scheme == u"mms"_s ||
                             scheme == u"mmsh"_s);
}

void PortalPageApi::setTakeover(bool on) {
    if (takeover_ != on) {
        takeover_ = on;
        Q_EMIT takeoverChanged(on);
    }
}

bool PortalPageApi::admit(const QVariant& token, bool placement) {
    if (token.typeId() != QMetaType::QString || token.toString() != token_) {
        qCWarning(lcBrowser) << "a page called the player without the portal's token; ignored";
        return false;
    }
    if (window_.hasExpired(1000)) {
        window_.restart();
        calls_ = 0;
        places_ = 0;
    }
    const bool over = placement ? ++places_ > kMaxPlacesPerSecond : ++calls_ > kMaxCallsPerSecond;
    if (over) {
        warnTooOften();
    }
    return !over;
}

void PortalPageApi::warnTooOften() {
    if (!warnedRate_) {
        warnedRate_ = true;
        qCWarning(lcBrowser) << "a portal page calls the player too often; calls beyond"
                             << kMaxCallsPerSecond << "a second are ignored";
    }
}

void PortalPageApi::tooOften(const QVariant& token) {
    if (admit(token)) {
        warnTooOften();
    }
}

void PortalPageApi::refuse(const QString& message) {
    qCWarning(lcBrowser).noquote() << u"portal page's film refused: "_s + message;
    Q_EMIT refused(message);
    Q_EMIT failed(message);
}

void PortalPageApi::play(const QVariant& token, const QVariant& address, const QVariant& options) {
    if (!admit(token)) {
        return;
    }
    const QVariantMap given = options.toMap();
    PortalFilmRequest request;
    request.takeover = given.value(u"takeover"_s).toBool();
    if (address.typeId() != QMetaType::QString ||
        !isPlayableAddress(address.toString(), request.takeover)) {
        refuse(u"无法播放该影片：只能播放网络上的影片地址（http 或 https）。"_s);
        return;
    }
    request.address = address.toString();
    request.title = given.value(u"title"_s).toString().left(kMaxTitle);
    const QVariant filmId = given.value(u"filmId"_s);
    if (filmId.typeId() == QMetaType::QString || isFinite(filmId)) {
        request.filmId = filmId.toString().left(kMaxFilmId);
    }
    if (const QVariant start = given.value(u"start"_s); isFinite(start)) {
        request.start = std::max(0.0, start.toDouble());
    }
    for (const QVariant& subtitle : given.value(u"subtitles"_s).toList()) {
        if (request.subtitles.size() < kMaxSubtitles && subtitle.typeId() == QMetaType::QString &&
            isPlayableAddress(subtitle.toString(), false)) {
            request.subtitles << subtitle.toString();
        }
    }
    Q_EMIT playRequested(request);
}

void PortalPageApi::pause(const QVariant& token) {
    if (admit(token)) {
        Q_EMIT pauseRequested();
    }
}

void PortalPageApi::resume(const QVariant& token) {
    if (admit(token)) {
        Q_EMIT resumeRequested();
    }
}

void PortalPageApi::seek(const QVariant& token, const QVariant& seconds) {
    if (!admit(token)) {
        return;
    }
    if (!isFinite(seconds)) {
        qCWarning(lcBrowser) << "a portal page asked to seek to no number of seconds; ignored";
        return;
    }
    Q_EMIT seekRequested(std::max(0.0, seconds.toDouble()));
}

void PortalPageApi::stop(const QVariant& token) {
    if (admit(token)) {
        Q_EMIT stopRequested();
    }
}

void PortalPageApi::place(const QVariant& token, const QVariant& rect) {
    if (!admit(token, true)) {
        return;
    }
    const QVariantMap given = rect.toMap();
    const QVariant x = given.value(u"x"_s);
    const QVariant y = given.value(u"y"_s);
    const QVariant width = given.value(u"width"_s);
    const QVariant height = given.value(u"height"_s);
    if (!isFinite(x) || !isFinite(y) || !isFinite(width) || !isFinite(height)) {
        return;
    }
    Q_EMIT placed(QRectF(x.toDouble(), y.toDouble(), std::max(0.0, width.toDouble()),
                         std::max(0.0, height.toDouble())),
                  given.value(u"shown"_s).toBool(), given.value(u"pageHidden"_s).toBool());
}

void PortalPageApi::elementGone(const QVariant& token) {
    if (admit(token)) {
        qCWarning(lcBrowser) << "a portal page removed the element its film played in; it stops";
        Q_EMIT stopRequested();
    }
}

}  // namespace tivora
