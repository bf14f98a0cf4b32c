#pragma once

#include "browser/PortalPageApi.h"

#include <QObject>
#include <QPointer>
#include <QUrl>
#include <QWebEngineScript>

class QWebChannel;
class QWebEnginePage;

namespace tivora {

// Gives a page's documents of the portal's own origin (scheme, host and port of its root; main
// frame only) the object "tivora" over a web channel, with the script that takes over the page's
// own player elements (unless the user turned Tivora's player off for the portal). Lives as long as
// its page.
class PortalBridge final : public QObject {
    Q_OBJECT

public:
    PortalBridge(QWebEnginePage& page, const QUrl& portalRoot, bool enabled);
    ~PortalBridge() override;
    Q_DISABLE_COPY_MOVE(PortalBridge)

    // "scheme://host:port" of an address, the way a page's location.origin says it.
    [[nodiscard]] static QString originOf(const QUrl& url);

    [[nodiscard]] PortalPageApi& api() const { return *api_; }
    [[nodiscard]] QWebEnginePage& page() const { return page_; }
    // Off: documents loaded from now on play their films themselves, with no "tivora" object and
    // nothing taken over; the one shown stops taking over.
    void setEnabled(bool on);
    // Whether the page now shows a document of the portal's origin.
    [[nodiscard]] bool showsPortalPage() const;

Q_SIGNALS:
    // The page starts loading another document, or its process ended: what it played is over.
    void pageLeft();

private:
    // Loads a portal document that came without its player object again, once.
    void checkScriptRan();

    QWebEnginePage& page_;
    QString origin_;
    QPointer<PortalPageApi> api_;
    QPointer<QWebChannel> channel_;
    QWebEngineScript script_;
    bool reloaded_ = false;
};

}  // namespace tivora
