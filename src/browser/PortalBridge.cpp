#include "browser/PortalBridge.h"

#include "forms/Logging.h"

#include <QFile>
#include <QRandomGenerator>
#include <QWebChannel>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

#include <utility>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

const QString kScriptName = u"tivora-portal-player"_s;

QString resourceText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

QString newToken() {
    QString token;
    for (int i = 0; i < 4; ++i) {
        token += QString::number(QRandomGenerator::system()->generate64(), 36);
    }
    return token;
}

}  // namespace

PortalBridge::PortalBridge(QWebEnginePage& page, const QUrl& portalRoot, bool enabled)
    : QObject(&page), page_(page), origin_(originOf(portalRoot)) {
    const QString token = newToken();
    api_ = new PortalPageApi(token, enabled, this);
    const QString channelScript = resourceText(u":/qtwebchannel/qwebchannel.js"_s);
    const QString pageScript = resourceText(u":/tivora-browser/portal-page.js"_s);
    if (channelScript.isEmpty() || pageScript.isEmpty() || origin_.isEmpty()) {
        qCWarning(lcBrowser) << "the portal's player object is not available to its pages";
        return;
    }
    channel_ = new QWebChannel(this);
    channel_->registerObject(u"tivoraPlayer"_s, api_);
    page_.setWebChannel(channel_, QWebEngineScript::MainWorld);

    script_.setName(kScriptName);
    script_.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script_.setWorldId(QWebEngineScript::MainWorld);
    // Frames never get it: a frame of another origin inside a portal page must not reach it.
    script_.setRunsOnSubFrames(false);
    QString source = pageScript;
    source.replace(u"@ORIGIN@"_s, origin_).replace(u"@TOKEN@"_s, token);
    source.replace(u"@RATE@"_s, QString::number(PortalPageApi::kMaxCallsPerSecond));
    source.replace(u"@CHANNEL@"_s, channelScript);
    script_.setSourceCode(source);
    setEnabled(enabled);

    connect(&page_, &QWebEnginePage::loadingChanged, this,
            [this](const QWebEngineLoadingInfo& info) {
                if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) {
                    Q_EMIT pageLeft();
                }
            });
    connect(&page_, &QWebEnginePage::renderProcessTerminated, this, &PortalBridge::pageLeft);
    connect(&page_, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        if (ok && api_->takeover() && showsPortalPage()) {
            checkScriptRan();
        }
    });
}

// After a page process was killed, WebEngine may bring a later document of a pane up without the
// page's scripts (the channel's transport is there, the object is not); loaded again, it has them.
void PortalBridge::checkScriptRan() {
    const QPointer<PortalBridge> self(this);
    page_.runJavaScript(
        u"typeof window.tivora"_s, QWebEngineScript::MainWorld, [self](const QVariant& answer) {
            if (self.isNull() || answer.toString() != u"undefined"_s) {
                if (self) {
                    self->reloaded_ = false;
                }
                return;
            }
            if (std::exchange(self->reloaded_, true)) {
                qCWarning(lcBrowser) << "the portal page has no player object";
                return;
            }
            qCWarning(lcBrowser)
                << "the portal page came without its player object; loading it again";
            self->setEnabled(true);
            self->page_.triggerAction(QWebEnginePage::Reload);
        });
}

PortalBridge::~PortalBridge() = default;

void PortalBridge::setEnabled(bool on) {
    api_->setTakeover(on);
    if (script_.sourceCode().isEmpty()) {
        return;
    }
    for (const QWebEngineScript& old : page_.scripts().find(kScriptName)) {
        page_.scripts().remove(old);
    }
    if (on) {
        page_.scripts().insert(script_);
    }
}

QString PortalBridge::originOf(const QUrl& url) {
    if (!url.isValid() || url.host().isEmpty() ||
        (url.scheme() != u"http"_s && url.scheme() != u"https"_s)) {
        return {};
    }
    const int defaultPort = url.scheme() == u"https"_s ? 443 : 80;
    const int port = url.port(defaultPort);
    QString origin = url.scheme() + u"://"_s + url.host(QUrl::FullyEncoded);
    if (port != defaultPort) {
        origin += u':' + QString::number(port);
    }
    return origin;
}

bool PortalBridge::showsPortalPage() const {
    return !origin_.isEmpty() && originOf(page_.url()) == origin_;
}

}  // namespace tivora
