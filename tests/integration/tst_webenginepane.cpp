// Real WebEngine panes against a small HTTP server on loopback.
#include "browser/BrowserProfile.h"
#include "browser/WebEnginePane.h"
#include "support/EventLoopWait.h"
#include "support/TestHttpServer.h"
#include "support/WebEngineTestMain.h"

#include <QColor>
#include <QDeadlineTimer>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <chrono>
#include <memory>
#include <thread>

using namespace Qt::StringLiterals;
using tivora::test::TestHttpServer;

namespace tivora {
namespace {

constexpr int kPageBound = 30000;

const QString kPage =
    u"<html><head><title>示例影片</title></head><body>"
    "<p id=\"text\">PAGE-TEXT-4711</p></body></html>"_s;
const QString kLinks =
    u"<html><head><title>列表</title></head><body>"
    "<a id=\"blank\" target=\"_blank\" href=\"/vrtata.asp?id=1234&amp;page=2\">影片</a>"
    "<button id=\"open\" onclick=\"window.open('/play/?1234-0-0.html')\">播放</button>"
    "</body></html>"_s;

// Two panes side by side in one shown window, sharing one profile.
struct PanePair {
    explicit PanePair(QWebEngineProfile* profile) {
        window.resize(800, 400);
        first = new WebEnginePane(profile, &window);
        second = new WebEnginePane(profile, &window);
        first->widget()->setGeometry(0, 0, 400, 400);
        second->widget()->setGeometry(400, 0, 400, 400);
        window.show();
    }
    QWidget window;
    WebEnginePane* first;
    WebEnginePane* second;
};

bool waitForDocument(const QSignalSpy& spy, int count = 1) {
    return test::waitUntil([&] { return spy.size() >= count; }, kPageBound);
}

// What a script in the page evaluates to.
QVariant evaluate(QWebEnginePage* page, const QString& script) {
    QVariant result;
    bool answered = false;
    page->runJavaScript(script, [&](const QVariant& value) {
        result = value;
        answered = true;
    });
    test::waitUntil([&] { return answered; }, kPageBound);
    return result;
}

QString unreachable(const QString& path) {
    return u"http://127.0.0.1:%1%2"_s.arg(TestHttpServer::unusedPort()).arg(path);
}

}  // namespace

class TestWebEnginePane final : public QObject {
    Q_OBJECT

    TestHttpServer server_;
    QTemporaryDir storage_;
    std::unique_ptr<BrowserProfile> profile_;
    int hits_ = 0;
    QStringList seenCookies_;

private Q_SLOTS:
    void initTestCase() {
        server_.page(u"/page.html"_s, kPage);
        server_.page(u"/links.html"_s, kLinks);
        server_.page(u"/vrtata.asp"_s,
                     u"<html><head><title>影片页</title></head><body>FILM</body></html>"_s);
        server_.page(u"/play/"_s,
                     u"<html><head><title>播放</title></head><body>PLAY</body></html>"_s);
        server_.dynamicPage(u"/slow"_s, [](const QString&, QString&) {
            std::this_thread::sleep_for(std::chrono::milliseconds(800));  // the server is slow
            return u"<html><body>SLOW</body></html>"_s;
        });
        // A check page that comes as a file to save.
        server_.page(u"/vrpcs.bin"_s, u"<html><body>qor v10</body></html>"_s,
                     u"application/octet-stream"_s);
        server_.page(u"/vrpcs.exe"_s, u"<html><body>qor v10</body></html>"_s,
                     u"application/x-msdownload"_s);
        server_.errorPage(
            u"/broken.asp"_s, 500,
            u"<html><head><title>qor</title></head><body>qor SERVER-BODY</body></html>"_s);
        server_.dynamicPage(u"/counter"_s, [this](const QString&, QString&) {
            return u"<html><body>HIT-%1</body></html>"_s.arg(++hits_);
        });
        server_.dynamicPage(u"/cookie"_s, [this](const QString& cookie, QString& setCookie) {
            seenCookies_ << cookie;
            setCookie = u"visitor=v42; Max-Age=86400; Path=/"_s;
            return u"<html><body>COOKIE</body></html>"_s;
        });
        server_.start();
        QVERIFY(storage_.isValid());
        profile_ = std::make_unique<BrowserProfile>(storage_.path() + u"/shared"_s);
    }

    void cleanupTestCase() { server_.stop(); }

    void completedDocumentHoldsItsMarkup() {
        PanePair panes(profile_->profile());
        QSignalSpy completed(panes.first, &BrowserPane::documentComplete);
        panes.first->navigate(server_.root() + u"/page.html"_s);
        QVERIFY(waitForDocument(completed));
        QVERIFY(panes.first->outerHTML().contains(u"<p id=\"text\">PAGE-TEXT-4711</p>"_s));
        QVERIFY(panes.first->outerHTML().startsWith(u"<html>"_s));
        QCOMPARE(panes.first->locationURL(), server_.root() + u"/page.html"_s);
        QCOMPARE(panes.first->locationName(), u"示例影片"_s);
        QCOMPARE(completed.front().front().toString(), server_.root() + u"/page.html"_s);
    }

    void newWindowRedirectedToAnotherPane_data() {
        QTest::addColumn<QString>("element");
        QTest::addColumn<QString>("expected");
        QTest::newRow("target=_blank link") << u"blank"_s << u"/vrtata.asp?id=1234&page=2"_s;
        QTest::newRow("window.open") << u"open"_s << u"/play/?1234-0-0.html"_s;
    }

    void newWindowRedirectedToAnotherPane() {
        QFETCH(QString, element);
        QFETCH(QString, expected);
        PanePair panes(profile_->profile());
        int requests = 0;
        connect(panes.first, &BrowserPane::newWindow2, this, [&](NewWindowRequest& request) {
            ++requests;
            request.ppDisp = panes.second->browserObject();
        });
        QSignalSpy firstDone(panes.first, &BrowserPane::documentComplete);
        QSignalSpy secondDone(panes.second, &BrowserPane::documentComplete);
        panes.second->navigate(u"about:blank"_s);
        panes.first->navigate(server_.root() + u"/links.html"_s);
        QVERIFY(waitForDocument(firstDone));
        QVERIFY(waitForDocument(secondDone));
        QVERIFY(panes.second->view() == nullptr);  // blank so far: no view made

        panes.first->page()->runJavaScript(u"document.getElementById('%1').click()"_s.arg(element));
        QVERIFY(waitForDocument(secondDone, 2));
        QCOMPARE(requests, 1);
        QVERIFY(panes.second->view() != nullptr);
        QCOMPARE(panes.second->locationURL(), server_.root() + expected);
        QCOMPARE(panes.first->locationURL(), server_.root() + u"/links.html"_s);
    }

    // A blank navigation is answered without a view, as a view loading the blank page would; the
    // next real navigation makes the view again.
    void blankPaneAnswersAsAViewWould() {
        PanePair panes(profile_->profile());
        WebEnginePane& lazy = *panes.first;
        WebEnginePane& real = *panes.second;
        QCOMPARE(lazy.locationURL(), real.page()->url().toString());
        QSignalSpy lazyDone(&lazy, &BrowserPane::documentComplete);
        QSignalSpy realDone(&real, &BrowserPane::documentComplete);
        lazy.navigate(u"about:blank"_s);
        real.page()->load(QUrl(u"about:blank"_s));  // what the view itself makes of it
        QCOMPARE(lazyDone.size(), 0);               // queued, as a load is
        QVERIFY(waitForDocument(lazyDone));
        QVERIFY(waitForDocument(realDone));
        QVERIFY(lazy.view() == nullptr);
        QCOMPARE(lazyDone.front(), realDone.front());
        QCOMPARE(lazy.locationURL(), real.locationURL());
        QCOMPARE(lazy.locationName(), real.locationName());
        QCOMPARE(lazy.outerHTML(), real.outerHTML());
        QCOMPARE(lazy.lastLoadOutcome(), real.lastLoadOutcome());
        QCOMPARE(lazy.showsErrorPage(), real.showsErrorPage());
        QCOMPARE(lazy.completedNavigation(), lazy.lastNavigation());
        QCOMPARE(lazy.widget()->grab().toImage().pixelColor(10, 10), QColor(Qt::white));

        lazy.refresh();
        QVERIFY(waitForDocument(lazyDone, 2));
        QCOMPARE(lazy.completedNavigation(), lazy.lastNavigation());

        // A blank navigation overtaken by a real one is not reported; the real one is.
        lazy.navigate(u"about:blank"_s);
        lazy.navigate(server_.root() + u"/page.html"_s);
        QVERIFY(waitForDocument(lazyDone, 3));
        QVERIFY(!lazyDone.wait(500));
        QCOMPARE(lazyDone.size(), 3);
        QCOMPARE(lazyDone.back().front().toString(), server_.root() + u"/page.html"_s);
        QVERIFY(lazy.outerHTML().contains(u"PAGE-TEXT-4711"_s));
        QCOMPARE(lazy.completedNavigation(), lazy.lastNavigation());
        QPointer<QWebEngineView> view = lazy.view();
        QVERIFY(view && view->isVisible());

        // Blank again: the view and its page go; then a real page comes back in a new one.
        lazy.navigate(u"about:blank"_s);
        QVERIFY(waitForDocument(lazyDone, 4));
        QCOMPARE(lazy.locationURL(), u"about:blank"_s);
        QCOMPARE(lazy.outerHTML(), real.outerHTML());
        QVERIFY(test::waitUntil([&] { return view.isNull(); }, kPageBound));
        lazy.navigate(server_.root() + u"/page.html"_s);
        QVERIFY(waitForDocument(lazyDone, 5));
        QVERIFY(lazy.lastLoadSucceeded());
        QVERIFY(lazy.outerHTML().contains(u"PAGE-TEXT-4711"_s));
    }

    void cancelledNewWindowOpensNothing() {
        PanePair panes(profile_->profile());
        connect(panes.first, &BrowserPane::newWindow2, this,
                [](NewWindowRequest& request) { request.cancel = true; });
        QSignalSpy firstDone(panes.first, &BrowserPane::documentComplete);
        panes.first->navigate(server_.root() + u"/links.html"_s);
        QVERIFY(waitForDocument(firstDone));
        const qsizetype windows = QApplication::topLevelWidgets().size();
        panes.first->page()->runJavaScript(u"document.getElementById('blank').click()"_s);
        QTest::qWait(500);
        QCOMPARE(QApplication::topLevelWidgets().size(), windows);
    }

    void failedLoadsStillComplete_data() {
        QTest::addColumn<QString>("address");
        QTest::newRow("connection refused")
            << u"http://127.0.0.1:%1/vrpcs.asp"_s.arg(TestHttpServer::unusedPort());
        QTest::newRow("not found") << u"/missing.asp"_s;
    }

    void failedLoadsStillComplete() {
        QFETCH(QString, address);
        if (address.startsWith(u'/')) {
            address.prepend(server_.root());
        }
        PanePair panes(profile_->profile());
        QSignalSpy completed(panes.first, &BrowserPane::documentComplete);
        panes.first->navigate(server_.root() + u"/page.html"_s);
        QVERIFY(waitForDocument(completed));
        panes.first->navigate(address);
        QVERIFY(waitForDocument(completed, 2));
        QVERIFY(!panes.first->outerHTML().isEmpty());
        QVERIFY(!panes.first->outerHTML().contains(u"PAGE-TEXT-4711"_s));
    }

    void failedLoadShowsOurOwnPageWithRetry_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<LoadOutcome>("outcome");
        QTest::addColumn<QString>("headline");
        QTest::newRow("connection refused")
            << unreachable(u"/vrpcs.asp"_s) << LoadOutcome::Unreachable << u"无法连接到服务器"_s;
        QTest::newRow("unknown host") << u"http://tivora-no-such-host.invalid/"_s
                                      << LoadOutcome::Unreachable << u"无法连接到服务器"_s;
        QTest::newRow("not found")
            << u"/missing.asp"_s << LoadOutcome::HttpError << u"服务器返回错误 404"_s;
        QTest::newRow("server error with a body of its own")
            << u"/broken.asp"_s << LoadOutcome::HttpError << u"服务器返回错误 500"_s;
    }

    void failedLoadShowsOurOwnPageWithRetry() {
        QFETCH(QString, address);
        QFETCH(LoadOutcome, outcome);
        QFETCH(QString, headline);
        if (address.startsWith(u'/')) {
            address.prepend(server_.root());
        }
        PanePair panes(profile_->profile());
        QSignalSpy completed(panes.first, &BrowserPane::documentComplete);
        panes.first->navigate(address);
        QVERIFY(waitForDocument(completed));
        QCOMPARE(completed.size(), 1);
        QCOMPARE(panes.first->lastLoadOutcome(), outcome);
        QVERIFY(panes.first->showsErrorPage());
        QCOMPARE(panes.first->locationURL(), address);
        QCOMPARE(panes.first->locationName(), headline);
        QCOMPARE(completed.front().front().toString(), address);
        // What handlers read holds none of the server's answer.
        QVERIFY(panes.first->outerHTML().contains(headline));
        QVERIFY(!panes.first->outerHTML().contains(u"qor"_s));
        QCOMPARE(evaluate(panes.first->page(), u"document.getElementById('headline').innerText"_s),
                 QVariant(headline));
        QCOMPARE(evaluate(panes.first->page(), u"document.getElementById('address').innerText"_s),
                 QVariant(address));
        QCOMPARE(evaluate(panes.first->page(), u"document.getElementById('retry').innerText"_s),
                 QVariant(u"重试"_s));

        const qsizetype asked = server_.requests().size();
        panes.first->page()->runJavaScript(u"document.getElementById('retry').click()"_s);
        QVERIFY(waitForDocument(completed, 2));
        QCOMPARE(panes.first->locationURL(), address);
        QCOMPARE(panes.first->locationName(), headline);
        if (outcome == LoadOutcome::HttpError) {
            QCOMPARE(server_.requests().size(), asked + 1);
            QCOMPARE(server_.root() + server_.requests().back(), address);
        }
    }

    // A check page that comes as a download ends with nothing shown; it still completes, with a
    // document that holds none of the answer, and the retry offers it again.
    void loadEndingAsADownloadStillCompletes_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("binary") << u"/vrpcs.bin"_s;
        QTest::newRow("a program") << u"/vrpcs.exe"_s;
    }

    void loadEndingAsADownloadStillCompletes() {
        QFETCH(QString, path);
        PanePair panes(profile_->profile());
        QSignalSpy completed(panes.first, &BrowserPane::documentComplete);
        panes.first->navigate(server_.root() + u"/page.html"_s);
        QVERIFY(waitForDocument(completed));
        panes.first->navigate(server_.root() + path);
        QVERIFY(waitForDocument(completed, 2));
        QCOMPARE(panes.first->lastLoadOutcome(), LoadOutcome::NotAPage);
        QVERIFY(panes.first->showsErrorPage());
        QCOMPARE(panes.first->completedNavigation(), panes.first->lastNavigation());
        QCOMPARE(panes.first->locationName(), u"无法显示此页面"_s);
        QVERIFY(!panes.first->outerHTML().contains(u"qor"_s));
        QVERIFY(!panes.first->outerHTML().contains(u"PAGE-TEXT-4711"_s));
        QVERIFY(!completed.wait(1000));  // and only once
    }

    void markupInAFailedAddressIsShownAsText() {
        const QString markup = u"<script>document.title='pwned'</script><b id=\"injected\">x</b>"_s;
        PanePair panes(profile_->profile());
        QSignalSpy completed(panes.first, &BrowserPane::documentComplete);
        panes.first->navigate(unreachable(u"/vrtata.asp?id="_s + markup));
        QVERIFY(waitForDocument(completed));
        QCOMPARE(panes.first->locationName(), u"无法连接到服务器"_s);
        QCOMPARE(evaluate(panes.first->page(), u"document.getElementById('injected') === null"_s),
                 QVariant(true));
        QVERIFY(evaluate(panes.first->page(), u"document.getElementById('address').innerText"_s)
                    .toString()
                    .endsWith(u"/vrtata.asp?id="_s + markup));
    }

    void crashedPageReloadsOnceThenGivesUp() {
        PanePair panes(profile_->profile());
        QSignalSpy completed(panes.first, &BrowserPane::documentComplete);
        QSignalSpy secondCompleted(panes.second, &BrowserPane::documentComplete);
        QSignalSpy crashed(panes.first->page(), &QWebEnginePage::renderProcessTerminated);
        QSignalSpy secondCrashed(panes.second->page(), &QWebEnginePage::renderProcessTerminated);
        const QString address = server_.root() + u"/counter"_s;
        panes.first->navigate(address);
        // Another site, so that the two pages do not share a process.
        panes.second->navigate(u"http://localhost:%1/page.html"_s.arg(server_.port()));
        QVERIFY(waitForDocument(completed));
        QVERIFY(waitForDocument(secondCompleted));
        const QString firstHit = panes.first->outerHTML();

        panes.first->page()->load(QUrl(u"chrome://crash"_s));
        QVERIFY(test::waitUntil([&] { return crashed.size() == 1; }, kPageBound));
        QVERIFY(waitForDocument(completed, 2));  // loaded again by itself
        QCOMPARE(panes.first->lastLoadOutcome(), LoadOutcome::Succeeded);
        QCOMPARE(panes.first->locationURL(), address);
        QVERIFY(panes.first->outerHTML().contains(u"HIT-"_s));
        QVERIFY(panes.first->outerHTML() != firstHit);

        panes.first->page()->load(QUrl(u"chrome://crash"_s));  // again, well within the window
        QVERIFY(test::waitUntil([&] { return crashed.size() == 2; }, kPageBound));
        QVERIFY(waitForDocument(completed, 3));
        QCOMPARE(panes.first->lastLoadOutcome(), LoadOutcome::Stopped);
        QCOMPARE(panes.first->locationName(), u"页面已停止响应"_s);
        QCOMPARE(panes.first->locationURL(), address);
        QVERIFY(panes.first->showsErrorPage());
        QCOMPARE(evaluate(panes.first->page(), u"document.getElementById('retry').innerText"_s),
                 QVariant(u"重新加载"_s));
        QVERIFY(!completed.wait(1000));  // given up: nothing more loads by itself

        // The other pane went on untouched.
        QCOMPARE(secondCrashed.size(), 0);
        QCOMPARE(secondCompleted.size(), 1);
        QCOMPARE(evaluate(panes.second->page(), u"document.getElementById('text').innerText"_s),
                 QVariant(u"PAGE-TEXT-4711"_s));

        panes.first->page()->runJavaScript(u"document.getElementById('retry').click()"_s);
        QVERIFY(waitForDocument(completed, 4));
        QCOMPARE(panes.first->lastLoadOutcome(), LoadOutcome::Succeeded);
        QCOMPARE(panes.first->locationURL(), address);
        QVERIFY(panes.first->outerHTML().contains(u"HIT-"_s));
    }

    void unredirectedPopupClosesWhenItsPageAsks() {
        PanePair panes(profile_->profile());
        QSignalSpy completed(panes.first, &BrowserPane::documentComplete);
        panes.first->navigate(server_.root() + u"/links.html"_s);
        QVERIFY(waitForDocument(completed));
        const QWidgetList before = QApplication::topLevelWidgets();
        panes.first->page()->runJavaScript(u"document.getElementById('open').click()"_s);
        QPointer<QWebEngineView> popup;
        QVERIFY(test::waitUntil(
            [&] {
                for (QWidget* window : QApplication::topLevelWidgets()) {
                    auto* view = window->findChild<QWebEngineView*>();
                    if (view != nullptr && !before.contains(window) && view->isVisible() &&
                        view->page()->url().path() == u"/play/"_s) {
                        popup = view;
                    }
                }
                return !popup.isNull();
            },
            kPageBound));
        popup->page()->runJavaScript(u"window.close()"_s);
        QVERIFY(test::waitUntil([&] { return popup.isNull(); }, kPageBound));
        QCOMPARE(completed.size(), 1);
    }

    void firstLoadOfAFreshPaneFailingStillCompletes() {
        PanePair panes(profile_->profile());
        QSignalSpy completed(panes.first, &BrowserPane::documentComplete);
        panes.first->navigate(u"http://127.0.0.1:%1/vrpcs.asp"_s.arg(TestHttpServer::unusedPort()));
        QVERIFY(waitForDocument(completed));
        QVERIFY(!panes.first->lastLoadSucceeded());
        QVERIFY(!panes.first->outerHTML().contains(u"qor"_s));
    }

    void loadCutShortByTheNextNavigationIsNotReported() {
        PanePair panes(profile_->profile());
        QSignalSpy completed(panes.first, &BrowserPane::documentComplete);
        panes.first->navigate(server_.root() + u"/slow"_s);
        QTest::qWait(100);
        panes.first->navigate(server_.root() + u"/page.html"_s);
        QVERIFY(waitForDocument(completed));
        QVERIFY(!completed.wait(1500));  // the slow answer, when it comes, is not reported
        QCOMPARE(completed.size(), 1);
        QCOMPARE(completed.front().front().toString(), server_.root() + u"/page.html"_s);
        QVERIFY(panes.first->lastLoadSucceeded());
        QVERIFY(panes.first->outerHTML().contains(u"PAGE-TEXT-4711"_s));
    }

    void refreshLoadsThePageAgain() {
        PanePair panes(profile_->profile());
        QSignalSpy completed(panes.first, &BrowserPane::documentComplete);
        panes.first->navigate(server_.root() + u"/counter"_s);
        QVERIFY(waitForDocument(completed));
        const QString before = panes.first->outerHTML();
        panes.first->refresh();
        QVERIFY(waitForDocument(completed, 2));
        QVERIFY(panes.first->outerHTML() != before);
        QVERIFY(panes.first->outerHTML().contains(u"HIT-"_s));
    }

    void outerHtmlBeforeAnyDocumentFails() {
        PanePair panes(profile_->profile());
        QVERIFY_THROWS_EXCEPTION(std::exception, (void)panes.first->outerHTML());
    }

    void cookiesSurviveARestartOfTheProfile() {
        const QString folder = storage_.path() + u"/restart"_s;
        seenCookies_.clear();
        for (int run = 0; run < 2; ++run) {
            auto profile = std::make_unique<BrowserProfile>(folder);
            {
                PanePair panes(profile->profile());
                QSignalSpy completed(panes.first, &BrowserPane::documentComplete);
                panes.first->navigate(server_.root() + u"/cookie"_s);
                QVERIFY(waitForDocument(completed));
            }
            QTest::qWait(200);  // let the pages go before their profile
            profile.reset();
            // The cookie store writes to disk in the background; a restart reads what landed.
            QVERIFY(QTest::qWaitFor(
                [&] {
                    QFile cookies(folder + u"/storage/Cookies"_s);
                    return cookies.open(QIODevice::ReadOnly) && cookies.readAll().contains("v42");
                },
                20000));
        }
        QCOMPARE(seenCookies_.size(), 2);
        QVERIFY(!seenCookies_.at(0).contains(u"visitor=v42"_s));
        QVERIFY(seenCookies_.at(1).contains(u"visitor=v42"_s));
    }
};

}  // namespace tivora

TIVORA_WEBENGINE_TEST_MAIN(tivora::TestWebEnginePane)
#include "tst_webenginepane.moc"
