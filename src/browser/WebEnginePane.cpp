#include "browser/WebEnginePane.h"

#include "forms/FormError.h"
#include "forms/StartupTrace.h"

#include <QPalette>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineLoadingInfo>
#include <QWebEngineView>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

const QString kBlankPage = u"about:blank"_s;
// What a view gives as the blank page's markup.
const QString kEmptyDocument = u"<html><head></head><body></body></html>"_s;

// Chromium's net::ERR_ABORTED.
constexpr int kAbortedError = -3;
constexpr std::size_t kMaxLoads = 16;

QString ownPageHtml(const QString& headline, const QString& button, const QString& address) {
    // The address is shown decoded so that it reads as typed; both forms are escaped, so markup in
    // an address stays text. The button reads the address back from its attribute.
    const QString shown = QUrl::fromPercentEncoding(address.toUtf8()).toHtmlEscaped();
    return u"<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>%1</title><style>"
           "body{font-family:'宋体',sans-serif;margin:24px 16px;color:#333;background:#fff}"
           "h1{font-size:20px}p{word-break:break-all;color:#666}"
           "button{font-size:14px;padding:4px 20px}</style></head><body>"
           "<h1 id=\"headline\">%1</h1><p id=\"address\">%2</p>"
           "<button id=\"retry\" type=\"button\" data-address=\"%3\">%4</button>"
           "<script>document.getElementById('retry').addEventListener('click',"
           "function(){location.href=this.dataset.address;});</script>"
           "</body></html>"_s.arg(headline.toHtmlEscaped(), shown, address.toHtmlEscaped(),
                                  button.toHtmlEscaped());
}

// What handlers read of a page that is not the portal's: only its headline, never the address.
QString neutralMarkup(const QString& headline) {
    return u"<html><head><title>%1</title></head><body>%1</body></html>"_s.arg(headline);
}

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
    : profile_(profile), host_(new QWidget(parent)) {
    setParent(host_);
    // What a view shows before its first page.
    host_->setAutoFillBackground(true);
    QPalette palette = host_->palette();
    palette.setColor(QPalette::Window, Qt::white);
    host_->setPalette(palette);
    auto* layout = new QVBoxLayout(host_);
    layout->setContentsMargins(0, 0, 0, 0);
}

QWebEngineView& WebEnginePane::ensureView() {
    if (view_) {
        return *view_;
    }
    view_ = new QWebEngineView(host_);
    auto* page = new PanePage(profile_, *this, view_);
    view_->setPage(page);
    // A file dropped on a pane is the window's to handle, not a page to navigate to.
    view_->setAcceptDrops(false);
    connect(page, &QWebEnginePage::loadingChanged, this, &WebEnginePane::onLoadingChanged);
    connect(page, &QWebEnginePage::renderProcessTerminated, this,
            &WebEnginePane::onRenderProcessTerminated);
    host_->layout()->addWidget(view_);
    host_->setFocusProxy(view_);
    traceMark(u"view made");
    return *view_;
}

WebEnginePane::~WebEnginePane() = default;

void WebEnginePane::navigate(const QString& address) {
    ++navigations_;
    if (address == kBlankPage) {
        releaseView();
        blankNavigated_ = true;
        completeBlankLater();
        return;
    }
    page()->load(QUrl(address));
}

void WebEnginePane::releaseView() {
    if (!view_) {
        return;
    }
    // A blank page needs no renderer: the view, its page and the page's process go, and the pane
    // is a plain white widget again until its next real navigation.
    QWebEngineView* view = view_;
    view_.clear();
    view->page()->disconnect(this);
    view->hide();
    // Not at once: this may run inside one of the page's own signals.
    view->deleteLater();
    host_->setFocusProxy(nullptr);
    loads_.clear();
    ownPageLoading_ = false;
    ownPageShown_ = false;
    sinceCrash_.invalidate();
    traceMark(u"view released");
}

void WebEnginePane::completeBlankLater() {
    QTimer::singleShot(0, this, [this, navigation = navigations_] { completeBlank(navigation); });
}

void WebEnginePane::completeBlank(quint64 navigation) {
    // Overtaken by a later navigation, as a view's load would be.
    if (view_ || navigation != navigations_) {
        return;
    }
    markup_ = kEmptyDocument;
    hasDocument_ = true;
    outcome_ = LoadOutcome::Succeeded;
    completedNavigation_ = navigation;
    ++finishSerial_;
    announceDocument();
}

void WebEnginePane::refresh() {
    ++navigations_;
    if (!view_) {
        if (blankNavigated_) {
            completeBlankLater();
        }
        return;
    }
    // Reloading our own page would bring back only itself; load what it stands for.
    if (ownPageShown_) {
        page()->load(QUrl(ownAddress_));
        return;
    }
    page()->triggerAction(QWebEnginePage::Reload);
}

QString WebEnginePane::locationURL() const {
    if (!view_) {
        return blankNavigated_ ? kBlankPage : QString();
    }
    // Until the first navigation commits the page has no address yet; report the one requested.
    const QWebEnginePage* page = view_->page();
    const QUrl url = page->url().isEmpty() ? page->requestedUrl() : page->url();
    return QString::fromLatin1(url.toEncoded());
}

QString WebEnginePane::locationName() const {
    if (!view_) {
        return locationURL();
    }
    return view_->page()->title();
}

QString WebEnginePane::outerHTML() const {
    if (!hasDocument_) {
        throw FormError(u"The browser pane has no document"_s);
    }
    return markup_;
}

bool WebEnginePane::showsErrorPage() const {
    return hasDocument_ && outcome_ != LoadOutcome::Succeeded && failedSerial_ == loadSerial_;
}

QWidget* WebEnginePane::widget() const {
    return host_;
}

QWebEnginePage* WebEnginePane::page() {
    return ensureView().page();
}

void WebEnginePane::traceMark(QStringView what) const {
    if (trace::enabled()) {
        trace::mark(host_->window()->windowTitle() + u'/' + host_->objectName() + u' ' +
                    what.toString());
    }
}

void WebEnginePane::announceDocument() {
    if (!traced_) {
        traced_ = true;
        traceMark(u"document complete");
    }
    Q_EMIT documentComplete(locationURL());
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
    // Not redirected: the browser's own handling, a window of its own that its page may close.
    auto* popup = new WebEnginePane(profile_, nullptr);
    QWidget* window = popup->widget();
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->resize(960, 640);
    connect(popup->page(), &QWebEnginePage::windowCloseRequested, window, &QWidget::close);
    window->show();
    return popup->page();
}

WebEnginePane::Load WebEnginePane::finishedLoad(const QUrl& url) {
    // Loads end in the order they started unless a newer one overtook; whatever started before the
    // one that ended is over too.
    auto found = std::find_if(loads_.begin(), loads_.end(),
                              [&](const Load& load) { return load.url == url; });
    if (found == loads_.end()) {
        found = loads_.begin();
    }
    if (found == loads_.end()) {
        return {loadSerial_, navigations_, url};
    }
    Load load = *found;
    loads_.erase(loads_.begin(), found + 1);
    return load;
}

void WebEnginePane::onLoadingChanged(const QWebEngineLoadingInfo& info) {
    if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) {
        // Only our own pages are loaded from data: addresses; top-level pages may not go there.
        ownPageLoading_ = info.url().scheme() == u"data"_s;
        if (!ownPageLoading_) {
            ownPageShown_ = false;
            loads_.push_back({++loadSerial_, navigations_, info.url()});
            if (loads_.size() > kMaxLoads) {
                loads_.pop_front();  // never finished: stopped, or its process died
            }
        }
        return;
    }
    if (ownPageLoading_) {
        if (info.status() != QWebEngineLoadingInfo::LoadStoppedStatus) {
            ownPageLoading_ = false;
            completeOwnPage();
        }
        return;
    }
    switch (info.status()) {
        case QWebEngineLoadingInfo::LoadStartedStatus:
            return;
        case QWebEngineLoadingInfo::LoadStoppedStatus:
            // How a download ends the load that brought it.
            onLoadAborted(info.url());
            return;
        case QWebEngineLoadingInfo::LoadSucceededStatus:
            captureDocument(finishedLoad(info.url()).navigation);
            return;
        case QWebEngineLoadingInfo::LoadFailedStatus: {
            if (info.errorCode() == kAbortedError) {
                onLoadAborted(info.url());
                return;
            }
            const Load load = finishedLoad(info.url());
            failedSerial_ = load.serial;
            if (info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain) {
                showOwnPage(LoadOutcome::HttpError, u"服务器返回错误 %1"_s.arg(info.errorCode()),
                            u"重试"_s, locationURL(), load.navigation);
            } else {
                showOwnPage(LoadOutcome::Unreachable, u"无法连接到服务器"_s, u"重试"_s,
                            locationURL(), load.navigation);
            }
            return;
        }
    }
}

void WebEnginePane::onLoadAborted(const QUrl& url) {
    const auto found = std::find_if(loads_.begin(), loads_.end(),
                                    [&](const Load& load) { return load.url == url; });
    if (found == loads_.end()) {
        return;
    }
    const Load load = *found;
    loads_.erase(found);
    // Cut short by a newer navigation, the load is no failure: the newer one completes in its
    // place. Ended with nothing after it and nothing shown (it was a download, say), it still
    // completes, as a page of our own, so that a handler waiting for the document gets its answer.
    // One stopped after its page came stays as it is.
    QPointer<WebEnginePane> self(this);
    QTimer::singleShot(kAbortSettle, this, [self, load] {
        if (!self.isNull() && !self->view_.isNull() && self->loads_.empty() &&
            self->loadSerial_ == load.serial && !self->ownPageLoading_ &&
            self->view_->page()->url() != load.url) {
            self->failedSerial_ = load.serial;
            self->showOwnPage(LoadOutcome::NotAPage, u"无法显示此页面"_s, u"重试"_s,
                              QString::fromLatin1(load.url.toEncoded()), load.navigation);
        }
    });
}

void WebEnginePane::onRenderProcessTerminated(
    QWebEnginePage::RenderProcessTerminationStatus status) {
    if (status == QWebEnginePage::NormalTerminationStatus) {
        return;
    }
    const QString address = ownPageShown_ ? ownAddress_ : locationURL();
    QPointer<WebEnginePane> self(this);
    if (sinceCrash_.isValid() &&
        !sinceCrash_.hasExpired(std::chrono::milliseconds(kCrashWindow).count())) {
        sinceCrash_.invalidate();
        failedSerial_ = loadSerial_;
        // Outside the signal: the page is still tearing its process down. A navigation made
        // meanwhile stands.
        QTimer::singleShot(0, this, [self, address, navigation = navigations_] {
            if (!self.isNull() && !self->view_.isNull() && self->navigations_ == navigation) {
                self->showOwnPage(LoadOutcome::Stopped, u"页面已停止响应"_s, u"重新加载"_s, address,
                                  navigation);
            }
        });
        return;
    }
    sinceCrash_.start();
    QTimer::singleShot(0, this, [self, address, navigation = navigations_] {
        if (!self.isNull() && !self->view_.isNull() && self->navigations_ == navigation) {
            self->page()->load(QUrl(address));
        }
    });
}

void WebEnginePane::showOwnPage(LoadOutcome outcome, const QString& headline, const QString& button,
                                const QString& address, quint64 navigation) {
    ownOutcome_ = outcome;
    // The page on the screen shows the address, but its markup (an error body, scripts) could
    // hold anything, even a portal's markers; readers get a document that says only the headline.
    ownMarkup_ = neutralMarkup(headline);
    ownNavigation_ = navigation;
    ownAddress_ = address;
    page()->setHtml(ownPageHtml(headline, button, address), QUrl(address));
}

void WebEnginePane::completeOwnPage() {
    ownPageShown_ = true;
    markup_ = ownMarkup_;
    hasDocument_ = true;
    outcome_ = ownOutcome_;
    completedNavigation_ = ownNavigation_;
    ++finishSerial_;
    announceDocument();
}

void WebEnginePane::captureDocument(quint64 navigation) {
    // Each finished load is reported unless a later one finished first; a load merely started
    // since (a script's own navigation, say) must not swallow this one's completion.
    const quint64 serial = ++finishSerial_;
    QPointer<WebEnginePane> self(this);
    page()->runJavaScript(u"document.documentElement ? document.documentElement.outerHTML : ''"_s,
                          [self, serial, navigation](const QVariant& result) {
                              if (self.isNull() || serial != self->finishSerial_) {
                                  return;  // a later load finished first and has been reported
                              }
                              self->markup_ = result.toString();
                              if (self->markup_.isEmpty()) {
                                  self->markup_ = kEmptyDocument;
                              }
                              self->hasDocument_ = true;
                              self->outcome_ = LoadOutcome::Succeeded;
                              self->completedNavigation_ = navigation;
                              self->announceDocument();
                          });
}

}  // namespace tivora
