#include "browser/WebEnginePane.h"

#include "browser/EngineStart.h"
#include "browser/ErrorPage.h"
#include "browser/PaneContextMenu.h"
#include "browser/PanePlaceholder.h"
#include "browser/WebDialogPage.h"
#include "forms/FormError.h"
#include "forms/Logging.h"
#include "forms/StartupTrace.h"

#include <QPalette>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineLoadingInfo>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

const QString kBlankPage = u"about:blank"_s;
// What a view gives as the blank page's markup.
const QString kEmptyDocument = u"<html><head></head><body></body></html>"_s;

// Chromium's net::ERR_ABORTED.
constexpr int kAbortedError = -3;

// What handlers read of a page that is not the portal's: only its headline, never the address.
QString neutralMarkup(const QString& headline) {
    return u"<html><head><title>%1</title></head><body>%1</body></html>"_s.arg(headline);
}

}  // namespace

class PanePage final : public WebDialogPage {
public:
    PanePage(QWebEngineProfile* profile, WebEnginePane& pane, QObject* parent)
        : WebDialogPage(profile, parent), pane_(pane) {}

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
    new PanePlaceholder(*this, host_);
}

WebEnginePane::WebEnginePane(EngineStart& engine, QWidget* parent)
    : WebEnginePane(static_cast<QWebEngineProfile*>(nullptr), parent) {
    engine_ = &engine;
}

QWebEngineProfile* WebEnginePane::profile() const {
    return engine_ != nullptr ? engine_->profile() : profile_;
}

QWebEngineView& WebEnginePane::ensureView() {
    if (view_) {
        return *view_;
    }
    view_ = new QWebEngineView(host_);
    auto* page = new PanePage(profile(), *this, view_);
    view_->setPage(page);
    // A file dropped on a pane is the window's to handle, not a page to navigate to.
    view_->setAcceptDrops(false);
    PaneContextMenu::attach(view_);
    connect(page, &QWebEnginePage::loadingChanged, this, &WebEnginePane::onLoadingChanged);
    connect(page, &QWebEnginePage::renderProcessTerminated, this,
            &WebEnginePane::onRenderProcessTerminated);
    host_->layout()->addWidget(view_);
    host_->setFocusProxy(view_);
    book_.viewMade();
    traceMark(u"view made");
    Q_EMIT pageMade(page);
    return *view_;
}

WebEnginePane::~WebEnginePane() = default;

void WebEnginePane::navigate(const QString& address) {
    if (engine_ != nullptr) {
        engine_->forget(this);
    }
    if (address == kBlankPage) {
        releaseView();
        completeBlankLater(book_.navigateToBlank());
        return;
    }
    book_.navigate();
    if (engine_ != nullptr && !engine_->started()) {
        engine_->whenStarted(this, [this, address] { page()->load(QUrl(address)); });
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
    traceMark(u"view released");
}

void WebEnginePane::completeBlankLater(quint64 navigation) {
    QTimer::singleShot(0, this, [this, navigation] {
        if (book_.blankAnswered(navigation)) {
            markup_ = kEmptyDocument;
            outcome_ = LoadOutcome::Succeeded;
            announceDocument();
        }
    });
}

void WebEnginePane::refresh() {
    const NavigationBook::Refresh refresh = book_.refresh();
    switch (refresh.kind) {
        case NavigationBook::Refresh::Kind::None:
            return;
        case NavigationBook::Refresh::Kind::AnswerBlank:
            completeBlankLater(refresh.navigation);
            return;
        case NavigationBook::Refresh::Kind::Reload:
            page()->triggerAction(QWebEnginePage::Reload);
            return;
        case NavigationBook::Refresh::Kind::LoadAddress:
            page()->load(QUrl(refresh.address));
            return;
    }
}

QString WebEnginePane::locationURL() const {
    if (!view_) {
        return book_.blankNavigated() ? kBlankPage : QString();
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
    if (!book_.hasDocument()) {
        throw FormError(u"The browser pane has no document"_s);
    }
    return markup_;
}

bool WebEnginePane::showsErrorPage() const {
    return book_.showsErrorPage();
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
    auto* popup = engine_ != nullptr ? new WebEnginePane(*engine_, nullptr)
                                     : new WebEnginePane(profile_, nullptr);
    QWidget* window = popup->widget();
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->resize(960, 640);
    connect(popup->page(), &QWebEnginePage::windowCloseRequested, window, &QWidget::close);
    window->show();
    return popup->page();
}

void WebEnginePane::onLoadingChanged(const QWebEngineLoadingInfo& info) {
    using End = NavigationBook::LoadEnd;
    switch (info.status()) {
        case QWebEngineLoadingInfo::LoadStartedStatus:
            book_.loadStarted(info.url());
            return;
        case QWebEngineLoadingInfo::LoadStoppedStatus:
            act(book_.loadEnded(info.url(), End::Stopped), info);
            return;
        case QWebEngineLoadingInfo::LoadSucceededStatus:
            act(book_.loadEnded(info.url(), End::Succeeded), info);
            return;
        case QWebEngineLoadingInfo::LoadFailedStatus:
            act(book_.loadEnded(info.url(),
                                info.errorCode() == kAbortedError ? End::Aborted : End::Failed),
                info);
            return;
    }
}

void WebEnginePane::act(const NavigationBook::Answer& answer, const QWebEngineLoadingInfo& info) {
    using Kind = NavigationBook::Answer::Kind;
    switch (answer.kind) {
        case Kind::None:
            return;
        case Kind::ReadDocument:
            readDocument(answer.serial, answer.navigation);
            return;
        case Kind::ShowErrorPage:
            if (info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain) {
                showOwnPage(LoadOutcome::HttpError, u"服务器返回错误 %1"_s.arg(info.errorCode()),
                            u"重试"_s, locationURL(), answer.navigation);
            } else {
                showOwnPage(LoadOutcome::Unreachable, unreachableHeadline(info), u"重试"_s,
                            locationURL(), answer.navigation);
            }
            return;
        case Kind::OwnPageComplete:
            markup_ = ownMarkup_;
            outcome_ = ownOutcome_;
            announceDocument();
            return;
        case Kind::SettleAbort: {
            QPointer<WebEnginePane> self(this);
            QTimer::singleShot(NavigationBook::kAbortSettle, this, [self, load = answer.load] {
                if (self.isNull() || self->view_.isNull() ||
                    !self->book_.abortSettled(load, self->view_->page()->url())) {
                    return;
                }
                self->showOwnPage(LoadOutcome::NotAPage, u"无法显示此页面"_s, u"重试"_s,
                                  QString::fromLatin1(load.url.toEncoded()), load.navigation);
            });
            return;
        }
    }
}

void WebEnginePane::onRenderProcessTerminated(QWebEnginePage::RenderProcessTerminationStatus status,
                                              int exitCode) {
    if (status == QWebEnginePage::NormalTerminationStatus) {
        return;
    }
    const NavigationBook::CrashAnswer answer =
        book_.renderProcessDied(NavigationBook::Clock::now(), locationURL());
    const bool givenUp = answer.kind == NavigationBook::CrashAnswer::Kind::GiveUp;
    qCWarning(lcBrowser).nospace()
        << "page process ended (status " << status << ", exit code " << exitCode << ") at "
        << answer.address << ": " << (givenUp ? "given up" : "loading it again");
    // Outside the signal: the page is still tearing its process down. A navigation made meanwhile
    // stands.
    QPointer<WebEnginePane> self(this);
    QTimer::singleShot(0, this, [self, answer, givenUp] {
        if (self.isNull() || self->view_.isNull() ||
            !self->book_.crashAnswerStands(answer.navigation)) {
            return;
        }
        if (givenUp) {
            self->showOwnPage(LoadOutcome::Stopped, u"页面已停止响应"_s, u"重新加载"_s,
                              answer.address, answer.navigation);
        } else {
            self->page()->load(QUrl(answer.address));
        }
    });
}

void WebEnginePane::showOwnPage(LoadOutcome outcome, const QString& headline, const QString& button,
                                const QString& address, quint64 navigation) {
    ownOutcome_ = outcome;
    // The page on the screen shows the address, but its markup (an error body, scripts) could
    // hold anything, even a portal's markers; readers get a document that says only the headline.
    ownMarkup_ = neutralMarkup(headline);
    book_.ownPageRequested(navigation, address);
    page()->setHtml(errorPageHtml(headline, button, address), QUrl(address));
}

void WebEnginePane::readDocument(quint64 serial, quint64 navigation) {
    QPointer<WebEnginePane> self(this);
    page()->runJavaScript(u"document.documentElement ? document.documentElement.outerHTML : ''"_s,
                          [self, serial, navigation](const QVariant& result) {
                              // A later load that finished first has been reported.
                              if (self.isNull() || !self->book_.documentRead(serial, navigation)) {
                                  return;
                              }
                              self->markup_ = result.toString();
                              if (self->markup_.isEmpty()) {
                                  self->markup_ = kEmptyDocument;
                              }
                              self->outcome_ = LoadOutcome::Succeeded;
                              self->announceDocument();
                          });
}

}  // namespace tivora
