#include "demo-portal/DemoPortal.h"
#include "demo-portal/HtmlText.h"
#include "demo-portal/PortalClient.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <filesystem>
#include <set>
#include <thread>

using namespace tivora::demo;
using tivora::demo::test::allBetween;
using tivora::demo::test::PortalClient;

Q_DECLARE_METATYPE(std::string)

namespace {

// Titles as listed, in page order.
std::vector<std::string> listed(const std::string& body) {
    return allBetween(body, "<span class=\"title\">", "</span>");
}

std::vector<std::string> playedTitles(const std::string& body) {
    std::vector<std::string> titles;
    for (const std::string& item : allBetween(body, "<div class=\"what\"><a ", "</a>")) {
        titles.push_back(item.substr(item.find('>') + 1));
    }
    return titles;
}

}  // namespace

class TestDemoPortalVisitors final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void cookieIssuedOnce_data();
    void cookieIssuedOnce();
    void favouriteNames_data();
    void favouriteNames();
    void favouritesNewestFirstWithoutDuplicates();
    void clearTouchesOnlyThisVisitor();
    void forgedCookieStoresNothing_data();
    void forgedCookieStoresNothing();
    void recentlyPlayed();
    void survivesRestart();
    void concurrentVisitors();
    void defaultDatabaseInDataFolder();

private:
    std::unique_ptr<DemoPortal> portal_;
};

void TestDemoPortalVisitors::init() {
    PortalOptions options;
    options.database = ":memory:";
    portal_ = std::make_unique<DemoPortal>(options);
    QVERIFY(portal_->start());
}

void TestDemoPortalVisitors::cleanup() {
    portal_.reset();
}

void TestDemoPortalVisitors::cookieIssuedOnce_data() {
    QTest::addColumn<std::string>("sent");
    QTest::addColumn<bool>("kept");
    QTest::newRow("none") << std::string() << false;
    QTest::newRow("valid") << "tivora_visitor=" + std::string(32, '5') << true;
    QTest::newRow("malformed") << std::string("tivora_visitor=<script>") << false;
    QTest::newRow("someone else's cookie") << std::string("session=1") << false;
}

void TestDemoPortalVisitors::cookieIssuedOnce() {
    QFETCH(std::string, sent);
    QFETCH(bool, kept);
    PortalClient client(portal_->port());
    client.setCookie(sent);
    const auto first = client.get("/ty_00.html");
    QCOMPARE(first.setCookie.empty(), kept);
    if (!kept) {
        for (const char* part : {"tivora_visitor=", "Max-Age=", "Path=/", "HttpOnly"}) {
            QVERIFY2(first.setCookie.find(part) != std::string::npos, part);
        }
        QVERIFY(client.cookie() != sent);
    }
    QVERIFY(client.get("/scj.asp").setCookie.empty());
}

void TestDemoPortalVisitors::favouriteNames_data() {
    QTest::addColumn<std::string>("sent");
    QTest::addColumn<std::string>("shown");
    QTest::newRow("chinese") << percentEncode("长河落日") << std::string("长河落日");
    QTest::newRow("raw utf-8") << std::string("长河") << std::string("长河");
    QTest::newRow("encoded & = # +") << percentEncode("a&b=c#d+e") << std::string("a&amp;b=c#d+e");
    QTest::newRow("raw plus is a space") << std::string("a+b") << std::string("a b");
    QTest::newRow("markup") << percentEncode("<b>x</b>") << std::string("&lt;b&gt;x&lt;/b&gt;");
    QTest::newRow("empty takes the title") << std::string() << std::string("长河落日");
}

void TestDemoPortalVisitors::favouriteNames() {
    QFETCH(std::string, sent);
    QFETCH(std::string, shown);
    PortalClient client(portal_->port());
    const auto reply = client.get("/scj.asp?scid=1001&scna=" + sent + "&unknown=1");
    QCOMPARE(reply.status, 200);
    QCOMPARE(listed(reply.body), std::vector<std::string>{shown});
    // The stored name, not the request, is what later pages show.
    QCOMPARE(listed(client.get("/scj.asp").body), std::vector<std::string>{shown});
}

void TestDemoPortalVisitors::favouritesNewestFirstWithoutDuplicates() {
    PortalClient client(portal_->port());
    for (const char* id : {"1001", "1002", "1003", "1001", "1002"}) {
        QCOMPARE(client.get(std::string("/scj.asp?scid=") + id + "&scna=n" + id).status, 200);
    }
    const std::string body = client.get("/scj.asp").body;
    QCOMPARE(listed(body), (std::vector<std::string>{"n1003", "n1002", "n1001"}));
    for (const std::string& tag : allBetween(body, "<a class=\"film\" ", ">")) {
        QVERIFY(tag.find("href=\"/vrtata.asp?id=100") != std::string::npos);
        QVERIFY(tag.find("target=\"_blank\"") != std::string::npos);
    }
}

void TestDemoPortalVisitors::clearTouchesOnlyThisVisitor() {
    PortalClient first(portal_->port());
    PortalClient second(portal_->port());
    QCOMPARE(first.get("/scj.asp?scid=1004&scna=a").status, 200);
    QCOMPARE(second.get("/scj.asp?scid=1005&scna=b").status, 200);
    QVERIFY(first.cookie() != second.cookie());
    const auto cleared = first.get("/scj.asp?dl=dl");
    QCOMPARE(cleared.status, 200);
    QVERIFY(listed(cleared.body).empty());
    QVERIFY(listed(first.get("/scj.asp").body).empty());
    QCOMPARE(listed(second.get("/scj.asp").body), std::vector<std::string>{"b"});
}

void TestDemoPortalVisitors::forgedCookieStoresNothing_data() {
    QTest::addColumn<std::string>("cookie");
    QTest::addColumn<std::string>("secondHeader");  // a second Cookie header, when not empty
    QTest::addColumn<std::string>("target");
    const std::string a = "tivora_visitor=" + std::string(32, 'a');
    const std::string b = "tivora_visitor=" + std::string(32, 'b');
    const std::string markup = "tivora_visitor=<script>";
    const std::string none;
    for (const char* target :
         {"/scj.asp?scid=1001&scna=x", "/scj.asp?dl=dl", "/play/?1001-0-0.html"}) {
        QTest::addRow("markup %s", target) << markup << none << std::string(target);
        QTest::addRow("upper case hex %s", target)
            << "tivora_visitor=" + std::string(32, 'A') << none << std::string(target);
        QTest::addRow("two that differ %s", target) << a + "; " + b << none << std::string(target);
        QTest::addRow("valid then markup %s", target)
            << a + "; " + markup << none << std::string(target);
        QTest::addRow("two headers %s", target) << a << b << std::string(target);
    }
}

void TestDemoPortalVisitors::forgedCookieStoresNothing() {
    QFETCH(std::string, cookie);
    QFETCH(std::string, secondHeader);
    QFETCH(std::string, target);
    const std::string a = "tivora_visitor=" + std::string(32, 'a');
    const std::string b = "tivora_visitor=" + std::string(32, 'b');
    // Something to lose for the visitors the forged cookie names.
    for (const std::string& owner : {a, b}) {
        PortalClient client(portal_->port());
        client.setCookie(owner);
        QCOMPARE(client.get("/scj.asp?scid=1002&scna=kept").status, 200);
    }
    PortalClient forger(portal_->port());
    forger.setCookie(cookie);
    if (!secondHeader.empty()) {
        forger.addHeader("Cookie", secondHeader);
    }
    const auto reply = forger.get(target);
    QCOMPARE(reply.status, 400);
    QVERIFY(reply.setCookie.starts_with("tivora_visitor="));
    for (const std::string& owner : {a, b}) {
        PortalClient client(portal_->port());
        client.setCookie(owner);
        QCOMPARE(listed(client.get("/scj.asp").body), std::vector<std::string>{"kept"});
        QVERIFY(playedTitles(client.get("/vrzjbf.asp").body).empty());
    }
    // Pages that store nothing still answer, with a cookie of the portal's own.
    PortalClient reader(portal_->port());
    reader.setCookie(cookie);
    const auto list = reader.get("/ty_00.html");
    QCOMPARE(list.status, 200);
}

void TestDemoPortalVisitors::recentlyPlayed() {
    PortalClient first(portal_->port());
    PortalClient second(portal_->port());
    for (const char* id : {"1001", "1002", "1003", "1001"}) {
        QCOMPARE(first.get(std::string("/play/?") + id + "-0-0.html").status, 200);
    }
    QCOMPARE(second.get("/play/?1010-0-0.html").status, 200);
    const std::string body = first.get("/vrzjbf.asp").body;
    // A replay moves the film to the top instead of listing it twice.
    QCOMPARE(playedTitles(body), (std::vector<std::string>{"长河落日", "江南烟雨", "星港迷踪"}));
    QCOMPARE(playedTitles(second.get("/vrzjbf.asp").body), std::vector<std::string>{"午夜列车"});
    // Film pages open in the same pane, playing opens a new window.
    QVERIFY(body.find("<a href=\"/vrtata.asp?id=1001\">") != std::string::npos);
    QVERIFY(body.find("href=\"/play/?1001-0-0.html\" target=\"_blank\"") != std::string::npos);
}

void TestDemoPortalVisitors::survivesRestart() {
    QTemporaryDir folder;
    PortalOptions options;
    options.database = folder.filePath(QStringLiteral("portal.sqlite")).toStdString();
    std::string cookie;
    {
        DemoPortal portal(options);
        QVERIFY(portal.start());
        PortalClient client(portal.port());
        QCOMPARE(client.get("/scj.asp?scid=1020&scna=" + percentEncode("机器人")).status, 200);
        QCOMPARE(client.get("/play/?1030-0-0.html").status, 200);
        cookie = client.cookie();
    }
    DemoPortal portal(options);
    QVERIFY(portal.start());
    PortalClient client(portal.port());
    client.setCookie(cookie);
    QCOMPARE(listed(client.get("/scj.asp").body), std::vector<std::string>{"机器人"});
    QCOMPARE(playedTitles(client.get("/vrzjbf.asp").body), std::vector<std::string>{"OK 便利店"});
}

void TestDemoPortalVisitors::concurrentVisitors() {
    constexpr int threads = 4;
    constexpr int requestsEach = 200;
    PortalClient setup(portal_->port());
    QCOMPARE(setup.get("/ty_00.html").status, 200);
    const std::string cookie = setup.cookie();
    std::atomic<int> failures = 0;
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&, t] {
            PortalClient client(portal_->port());
            client.setCookie(cookie);
            for (int i = 0; i < requestsEach; ++i) {
                // All threads share one visitor and add overlapping films.
                const std::string id = std::to_string(1001 + (i + t * 5) % 20);
                const auto check = [&](const std::string& target, const char* marker) {
                    const auto reply = client.get(target);
                    if (reply.status != 200 || reply.body.find(marker) == std::string::npos) {
                        ++failures;
                    }
                };
                switch (i % 4) {
                    case 0:
                        check("/scj.asp?scid=" + id + "&scna=f" + id, "已收藏");
                        break;
                    case 1:
                        check("/vrtata.asp?id=" + id, "开始播放");
                        break;
                    case 2:
                        check("/play/?" + id + "-0-0.html", "<video");
                        break;
                    default:
                        check("/search2010.asp?searchword=lily", "Lily Chen");
                        break;
                }
            }
        });
    }
    for (std::thread& worker : workers) {
        worker.join();
    }
    QCOMPARE(failures.load(), 0);
    std::set<std::string> expected;
    for (int t = 0; t < threads; ++t) {
        for (int i = 0; i < requestsEach; i += 4) {
            expected.insert("f" + std::to_string(1001 + (i + t * 5) % 20));
        }
    }
    const auto favourites = listed(setup.get("/scj.asp").body);
    QCOMPARE(favourites.size(), expected.size());
    QCOMPARE(std::set<std::string>(favourites.begin(), favourites.end()), expected);
}

void TestDemoPortalVisitors::defaultDatabaseInDataFolder() {
    QStandardPaths::setTestModeEnabled(true);
    const std::filesystem::path expected =
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString() +
        "/demo-portal.sqlite";
    std::filesystem::remove(expected);
    {
        DemoPortal portal(PortalOptions{});
        QVERIFY(portal.start());
        QCOMPARE(portal.databasePath(), expected.string());
        QVERIFY(std::filesystem::exists(expected));
    }
    std::filesystem::remove(expected);
}

QTEST_GUILESS_MAIN(TestDemoPortalVisitors)
#include "tst_demoportal_visitors.moc"
