#include "WebEnginePane.h"

#include "FormError.h"

#include <QUrl>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

// Chromium's net::ERR_ABORTED.
constexpr int kAbortedError = -3;

}  // namespace

class PanePage final : public QWebEnginePage {
public:
    PanePage(QWebEngineProfile* profile, WebEnginePane& pane, QObject* parent)
        : QWebEnginePage(profile, parent), pane_(pane) {}

protected:
    QWebEnginePage* createWindow(WebWindowType /*type*/) override {
        return pane_.pageForNewWindow();
    }

private:
    WebEnginePane& pane_;
};

WebEnginePane::WebEnginePane(QWebEngineProfile* profile, QWidget* parent)
    : profile_(profile), view_(new QWebEngineView(parent)) {
    setParent(view_);
    auto* page = new PanePage(profile, *this, view_);
    view_->setPage(page);
    // A file dropped on a pane is the window's to handle, not a page to navigate to.
    view_->setAcceptDrops(false);
    connect(page, &QWebEnginePage::loadingChanged, this, &WebEnginePane::onLoadingChanged);
}

WebEnginePane::~WebEnginePane() = default;

void WebEnginePane::navigate(const QString& address) {
    page()->load(QUrl(address));
}

void WebEnginePane::refresh() {
    page()->triggerAction(QWebEnginePage::Reload);
}

QString WebEnginePane::locationURL() const {
    // Until the first navigation commits the page has no address yet; report the one requested.
    const QUrl url = page()->url().isEmpty() ? page()->requestedUrl() : page()->url();
    return QString::fromLatin1(url.toEncoded());
}

QString WebEnginePane::locationName() const {
    return page()->title();
}

QString WebEnginePane::outerHTML() const {
    if (!hasDocument_) {
        throw FormError(u"The browser pane has no document"_s);
    }
    return markup_;
}

bool WebEnginePane::showsErrorPage() const {
    return hasDocument_ && !lastLoadOk_ && failedSerial_ == loadSerial_;
}

QWidget* WebEnginePane::widget() const {
    return view_;
}

QWebEnginePage* WebEnginePane::page() const {
    return view_->page();
}

QWebEnginePage* WebEnginePane::pageForNewWindow() {
    NewWindowRequest request;
    Q_EMIT newWindow2(request);
    if (request.cancel) {
        return nullptr;
    }
    if (auto* target = qobject_cast<WebEnginePane*>(request.ppDisp)) {
        return target->page();
    }
    // Not redirected: the browser's own handling, a window of its own.
    auto* popup = new WebEnginePane(profile_, nullptr);
    popup->view()->setAttribute(Qt::WA_DeleteOnClose);
    popup->view()->resize(960, 640);
    popup->view()->show();
    return popup->page();
}

void WebEnginePane::onLoadingChanged(const QWebEngineLoadingInfo& info) {
    switch (info.status()) {
        case QWebEngineLoadingInfo::LoadStartedStatus:
            ++loadSerial_;
            return;
        case QWebEngineLoadingInfo::LoadSucceededStatus:
            captureDocument(true);
            return;
        case QWebEngineLoadingInfo::LoadFailedStatus:
            // A load cut short by the next navigation is no failure to report; the next one
            // completes in its place.
            if (info.errorCode() != kAbortedError) {
                captureDocument(false);
            }
            return;
        case QWebEngineLoadingInfo::LoadStoppedStatus:
            return;
    }
}

void WebEnginePane::captureDocument(bool ok) {
    if (!ok) {
        // The browser's own error page is shown, but its markup (scripts, inline images) could
        // hold anything, even a portal's markers; readers get a document that says only this.
        markup_ =
            u"<html><head><title>无法显示此网页</title></head><body>无法显示此网页</body></html>"_s;
        hasDocument_ = true;
        lastLoadOk_ = false;
        ++finishSerial_;
        failedSerial_ = loadSerial_;
        Q_EMIT documentComplete(locationURL());
        return;
    }
    // Each finished load is reported unless a later one finished first; a load merely started
    // since (a script's own navigation, say) must not swallow this one's completion.
    const quint64 serial = ++finishSerial_;
    QPointer<WebEnginePane> self(this);
    page()->runJavaScript(u"document.documentElement ? document.documentElement.outerHTML : ''"_s,
                          [self, serial](const QVariant& result) {
                              if (self.isNull() || serial != self->finishSerial_) {
                                  return;  // a later load finished first and has been reported
                              }
                              self->markup_ = result.toString();
                              if (self->markup_.isEmpty()) {
                                  self->markup_ = u"<html><head></head><body></body></html>"_s;
                              }
                              self->hasDocument_ = true;
                              self->lastLoadOk_ = true;
                              Q_EMIT self->documentComplete(self->locationURL());
                          });
}

}  // namespace tivora
