// The clear-favourites and refresh reports of the main window, with real panes against a scripted
// server: each answers for exactly the navigation it started, and names an HTTP error as such.
#include "app/Forms.h"
#include "app/MainMenu.h"
#include "app/MainWindow.h"
#include "browser/BrowserProfile.h"
#include "browser/WebEnginePane.h"
#include "support/EventLoopWait.h"
#include "support/FakeServices.h"
#include "support/TestHttpServer.h"
#include "support/WebEngineTestMain.h"

#include <QAction>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWebEnginePage>

using namespace Qt::StringLiterals;
using tivora::test::TestHttpServer;
using tivora::test::waitUntil;

namespace tivora {
namespace {

constexpr int kPageBound = 30000;

class PaneServices final : public test::FakeServices {
public:
    explicit PaneServices(BrowserProfile& profile) : profile_(profile) {}
    BrowserPane* createBrowserPane(QWidget* parent) override {
        return new WebEnginePane(profile_.profile(), parent);
    }

private:
    BrowserProfile& profile_;
};

}  // namespace

class TestListReports final : public QObject {
    Q_OBJECT

    TestHttpServer answering_;
    TestHttpServer failing_;
    QTemporaryDir storage_;
    std::unique_ptr<BrowserProfile> profile_;

private Q_SLOTS:
    void initTestCase() {
        const QString page = u"<html><head><title>列表</title></head><body>qor</body></html>"_s;
        answering_.page(u"/ty_00.html"_s, page);
        answering_.page(u"/scj.asp"_s, page);
        // Only one page of its own; the film list and the favourites answer with errors.
        failing_.page(u"/page.html"_s, page);
        failing_.errorPage(u"/scj.asp"_s, 500, page);
        answering_.start();
        failing_.start();
        QVERIFY(storage_.isValid());
        profile_ = std::make_unique<BrowserProfile>(storage_.path());
    }

    void cleanupTestCase() {
        profile_.reset();
        answering_.stop();
        failing_.stop();
    }

    void reportAnswersItsOwnNavigation_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("server");
        QTest::addColumn<bool>("earlierPageLate");
        QTest::addColumn<QString>("message");
        QTest::newRow("clear, answered") << u"scj3"_s << u"answering"_s << false << u"清空成功！"_s;
        QTest::newRow("clear, HTTP error") << u"scj3"_s << u"failing"_s << false
                                           << u"清空收藏夹失败：服务器返回错误，请稍后重试。"_s;
        QTest::newRow("clear, an earlier page completing after it started")
            << u"scj3"_s << u"failing"_s << true
            << u"清空收藏夹失败：服务器返回错误，请稍后重试。"_s;
        QTest::newRow("refresh, answered")
            << u"dh3"_s << u"answering"_s << false << u"电影列表数据刷新成功！"_s;
        QTest::newRow("refresh, HTTP error")
            << u"dh3"_s << u"failing"_s << false
            << u"电影列表数据刷新失败：服务器返回错误，请稍后重试。"_s;
        QTest::newRow("refresh, unreachable")
            << u"dh3"_s << u"unreachable"_s << false
            << u"电影列表数据刷新失败：无法连接服务器，请稍后重试。"_s;
    }

    void reportAnswersItsOwnNavigation() {
        QFETCH(QString, item);
        QFETCH(QString, server);
        QFETCH(bool, earlierPageLate);
        QFETCH(QString, message);
        const QString root = server == u"answering"_s ? answering_.root()
                             : server == u"failing"_s
                                 ? failing_.root()
                                 : u"http://127.0.0.1:%1"_s.arg(TestHttpServer::unusedPort());
        PaneServices services(*profile_);
        Forms forms(services, AppConfig{.portalRoot = root});
        auto& main = forms.mainWindow();
        main.show();
        auto* list = qobject_cast<WebEnginePane*>(&main.browser(u"WebBrowser1"_s));
        QVERIFY(list != nullptr);
        QVERIFY(waitUntil([&] { return list->completedNavigation() != 0; }, kPageBound));
        QAction* action = main.mainMenu()->item(item);

        if (earlierPageLate) {
            // Started the moment an earlier page has loaded, before that page has completed.
            connect(list->page(), &QWebEnginePage::loadFinished, this,
                    [&, started = false](bool ok) mutable {
                        if (ok && !started) {
                            started = true;
                            action->trigger();
                        }
                    });
            list->navigate(root + u"/page.html"_s);
        } else {
            action->trigger();
        }
        // The start-up check window asks its own question about the same server; not ours here.
        const auto reports = [&] {
            QStringList prompts;
            for (const auto& shown : services.messages) {
                if (!shown.prompt.startsWith(u"服务器连接失败"_s)) {
                    prompts << shown.prompt;
                }
            }
            return prompts;
        };
        QVERIFY(waitUntil([&] { return !reports().isEmpty(); }, kPageBound));
        QCOMPARE(reports().front(), message);
        QVERIFY(!waitUntil([&] { return reports().size() > 1; }, 1000));
    }
};

}  // namespace tivora

TIVORA_WEBENGINE_TEST_MAIN(tivora::TestListReports)
#include "tst_listreports.moc"
