#include "demo-portal/DemoPortal.h"
#include "demo-portal/HtmlText.h"
#include "demo-portal/PortalClient.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <fstream>
#include <random>
#include <set>

using namespace tivora::demo;
using tivora::demo::test::allBetween;
using tivora::demo::test::occurrences;
using tivora::demo::test::PortalClient;

Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(std::vector<std::string>)
Q_DECLARE_METATYPE(tivora::demo::PortalOptions)

namespace {

std::unique_ptr<DemoPortal> startPortal(PortalOptions options) {
    options.database = options.database.empty() ? ":memory:" : options.database;
    auto portal = std::make_unique<DemoPortal>(std::move(options));
    std::string error;
    if (!portal->start(&error)) {
        qWarning("portal did not start: %s", error.c_str());
        return nullptr;
    }
    return portal;
}

std::string unescaped(std::string text) {
    for (auto at = text.find("&amp;"); at != std::string::npos; at = text.find("&amp;", at + 1)) {
        text.replace(at, 5, "&");
    }
    return text;
}

std::string attribute(const std::string& tag, const std::string& name) {
    const auto found = allBetween(tag, " " + name + "=\"", "\"");
    return found.empty() ? std::string() : unescaped(found.front());
}

}  // namespace

class TestDemoPortalPages final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void addresses_data();
    void addresses();
    void checkPage_data();
    void checkPage();
    void filmListLinks();
    void filmPage_data();
    void filmPage();
    void search_data();
    void search();
    void escaping_data();
    void escaping();
    void notFound_data();
    void notFound();
    void limits_data();
    void limits();
    void media_data();
    void media();
    void playAndTvVideos();
    void builtInInstallerRuns();
    void installerFileServedWhole();
    void roots();
    void startFailures_data();
    void startFailures();
    void stopIsQuickWithIdleConnection();

private:
    std::unique_ptr<DemoPortal> portal_;
};

void TestDemoPortalPages::initTestCase() {
    portal_ = startPortal({});
    QVERIFY(portal_);
}

void TestDemoPortalPages::addresses_data() {
    QTest::addColumn<std::string>("target");
    QTest::addColumn<std::string>("marker");
    QTest::newRow("film list") << std::string("/ty_00.html") << std::string("长河落日");
    QTest::newRow("film page") << std::string("/vrtata.asp?id=1003") << std::string("剧情简介");
    QTest::newRow("play") << std::string("/play/?1003-0-0.html") << std::string("正在播放");
    QTest::newRow("search") << std::string("/search2010.asp?searchword=x") << std::string("X战队");
    QTest::newRow("favourites") << std::string("/scj.asp") << std::string("收藏夹是空的");
    QTest::newRow("recently played") << std::string("/vrzjbf.asp") << std::string("还没有播放记录");
    QTest::newRow("tv") << std::string("/tv") << std::string("频道列表");
    QTest::newRow("check") << std::string("/vrpcs.asp") << std::string("qor");
    QTest::newRow("companion") << std::string("/vrtj.html") << std::string("公告");
    QTest::newRow("site") << std::string("/site/") << std::string("下载");
    QTest::newRow("help") << std::string("/site/vrdl3.html") << std::string("使用帮助");
}

void TestDemoPortalPages::addresses() {
    QFETCH(std::string, target);
    QFETCH(std::string, marker);
    PortalClient client(portal_->port());
    const auto reply = client.get(target);
    QCOMPARE(reply.status, 200);
    QCOMPARE(reply.contentType, std::string("text/html; charset=utf-8"));
    QVERIFY(reply.body.find("<meta charset=\"utf-8\">") != std::string::npos);
    QVERIFY(reply.body.find(marker) != std::string::npos);
    // A first visit to any page hands out the visitor cookie.
    QVERIFY(reply.setCookie.starts_with("tivora_visitor="));
}

void TestDemoPortalPages::checkPage_data() {
    QTest::addColumn<std::string>("version");
    QTest::addColumn<bool>("v10");
    QTest::addColumn<std::string>("code");
    QTest::newRow("1.0") << std::string("1.0") << true << std::string("10");
    QTest::newRow("1.2") << std::string("1.2") << false << std::string("12");
    QTest::newRow("0.1") << std::string("0.1") << false << std::string("01");
    QTest::newRow("2.0") << std::string("2.0") << false << std::string("20");
}

void TestDemoPortalPages::checkPage() {
    QFETCH(std::string, version);
    QFETCH(bool, v10);
    QFETCH(std::string, code);
    PortalOptions options;
    options.latestVersion = version;
    const auto portal = startPortal(options);
    QVERIFY(portal);
    PortalClient client(portal->port());
    const std::string body = client.get("/vrpcs.asp").body;
    QVERIFY(body.find("qor") != std::string::npos);
    QCOMPARE(occurrences(body, "v10"), v10 ? 1u : 0u);
    // The code follows "qor13" and one separator, and appears once.
    const auto match =
        QRegularExpression(QStringLiteral("qor13(.)(\\d\\d)")).match(QString::fromStdString(body));
    QVERIFY(match.hasMatch());
    QVERIFY(!match.captured(1).at(0).isLetterOrNumber());
    QCOMPARE(match.captured(2).toStdString(), code);
    QCOMPARE(occurrences(body, "qor13"), 1u);
}

void TestDemoPortalPages::filmListLinks() {
    PortalClient client(portal_->port());
    const std::string body = client.get("/ty_00.html").body;
    std::set<std::string> ids;
    int withSecondKey = 0;
    for (const std::string& tag : allBetween(body, "<a ", ">")) {
        const std::string href = attribute(tag, "href");
        if (href.find("vrtata") == std::string::npos) {
            continue;
        }
        QCOMPARE(attribute(tag, "target"), std::string("_blank"));
        // How the client reads the id: after the first "=", up to the first "&".
        const std::string afterEquals = href.substr(href.find('=') + 1);
        withSecondKey += afterEquals.find('&') != std::string::npos ? 1 : 0;
        ids.insert(afterEquals.substr(0, afterEquals.find('&')));
    }
    QVERIFY(ids.size() >= 40);
    QVERIFY(withSecondKey > 0 && withSecondKey < static_cast<int>(ids.size()));
    for (const std::string& id : ids) {
        QCOMPARE(client.get("/vrtata.asp?id=" + id).status, 200);
    }
}

void TestDemoPortalPages::filmPage_data() {
    QTest::addColumn<std::string>("target");
    QTest::addColumn<std::string>("title");
    QTest::addColumn<std::string>("id");
    QTest::newRow("plain") << std::string("/vrtata.asp?id=1001") << std::string("长河落日")
                           << std::string("1001");
    QTest::newRow("second key") << std::string("/vrtata.asp?id=1002&from=list")
                                << std::string("星港迷踪") << std::string("1002");
    QTest::newRow("latin") << std::string("/vrtata.asp?id=1012") << std::string("Hello 北京")
                           << std::string("1012");
    QTest::newRow("ampersand") << std::string("/vrtata.asp?id=1046") << std::string("R&amp;B 之夏")
                               << std::string("1046");
    QTest::newRow("hash") << std::string("/vrtata.asp?id=1047&x=%23") << std::string("#寻找小美")
                          << std::string("1047");
}

void TestDemoPortalPages::filmPage() {
    QFETCH(std::string, target);
    QFETCH(std::string, title);
    QFETCH(std::string, id);
    PortalClient client(portal_->port());
    const auto reply = client.get(target);
    QCOMPARE(reply.status, 200);
    QCOMPARE(allBetween(reply.body, "<title>", "</title>"), std::vector<std::string>{title});
    const std::string play = "href=\"/play/?" + id + "-0-0.html\" target=\"_blank\"";
    QVERIFY(reply.body.find(play) != std::string::npos);
    QVERIFY(reply.body.find("/poster/" + id + ".svg") != std::string::npos);
    // Related films stay in the film's pane.
    const std::vector<std::string> related = allBetween(reply.body, "<li><a href=\"/vrtata", ">");
    QVERIFY(!related.empty());
    for (const std::string& tag : related) {
        QVERIFY(tag.find("target=") == std::string::npos);
    }
}

void TestDemoPortalPages::search_data() {
    QTest::addColumn<std::string>("sent");
    QTest::addColumn<std::string>("shown");
    QTest::addColumn<std::vector<std::string>>("titles");
    using V = std::vector<std::string>;
    const auto row = [](const char* name, const std::string& sent, const std::string& shown,
                        V titles) { QTest::newRow(name) << sent << shown << titles; };
    row("chinese title", percentEncode("江南"), "江南", {"江南烟雨"});
    row("raw utf-8", "江南", "江南", {"江南烟雨"});
    row("chinese actor", percentEncode("萧逸"), "萧逸", {"笑傲楼兰", "龙门客栈新传", "寒江雪"});
    row("latin actor, mixed case", percentEncode("lIlY cHeN"), "lIlY cHeN",
        {"星港迷踪", "深海回声", "声声慢", "明日之后的晴天"});
    row("latin title, lower case", percentEncode("x战队"), "x战队", {"X战队：零点"});
    row("encoded plus", "1%2B1", "1+1", {"1+1=家"});
    row("raw plus is a space", "Hello+" + percentEncode("北京"), "Hello 北京", {"Hello 北京"});
    row("ampersand", percentEncode("R&B"), "R&amp;B", {"R&amp;B 之夏"});
    row("hash", percentEncode("#寻找"), "#寻找", {"#寻找小美"});
    row("gbk", "%BD%AD%C4%CF", "江南", {"江南烟雨"});
    row("nul dropped", "%E6%B1%9F%00%E5%8D%97", "江南", {"江南烟雨"});
    row("equals", percentEncode("=家"), "=家", {"1+1=家"});
    row("a+b", "a%2Bb", "a+b", {});
    row("no match", percentEncode("不存在的片子"), "不存在的片子", {});
    row("empty", "", "", {});
    row("spaces only", "%20%20", "", {});
    row("unknown keys ignored", percentEncode("江南") + "&page=2&sort=new", "江南", {"江南烟雨"});
}

void TestDemoPortalPages::search() {
    QFETCH(std::string, sent);
    QFETCH(std::string, shown);
    QFETCH(std::vector<std::string>, titles);
    PortalClient client(portal_->port());
    const auto reply = client.get("/search2010.asp?searchword=" + sent);
    QCOMPARE(reply.status, 200);
    QCOMPARE(allBetween(reply.body, "<span class=\"title\">", "</span>"), titles);
    if (!shown.empty()) {
        QVERIFY(reply.body.find("“" + shown + "”") != std::string::npos);
    }
    if (titles.empty()) {
        QVERIFY(reply.body.find(shown.empty() ? "请输入搜索词" : "没有找到") != std::string::npos);
    }
    for (const std::string& tag : allBetween(reply.body, "<a class=\"film\" ", ">")) {
        QVERIFY(tag.find("target=\"_blank\"") != std::string::npos);
    }
}

void TestDemoPortalPages::escaping_data() {
    QTest::addColumn<std::string>("keyword");
    QTest::newRow("script") << std::string("<script>alert(1)</script>");
    QTest::newRow("attribute break") << std::string("\"><img src=x onerror=alert(1)>");
    QTest::newRow("single quotes") << std::string("'onmouseover='x");
}

void TestDemoPortalPages::escaping() {
    QFETCH(std::string, keyword);
    PortalClient client(portal_->port());
    const auto reply = client.get("/search2010.asp?searchword=" + percentEncode(keyword));
    QCOMPARE(reply.status, 200);
    QVERIFY(reply.body.find(keyword) == std::string::npos);
    QVERIFY(reply.body.find(escapeHtml(keyword)) != std::string::npos);
}

void TestDemoPortalPages::notFound_data() {
    QTest::addColumn<std::string>("target");
    for (const char* target :
         {"/vrtata.asp?id=99999", "/vrtata.asp?id=abc", "/vrtata.asp",
          "/vrtata.asp?id=", "/vrtata.asp?id=-1001", "/play/?99999-0-0.html", "/play/?1001.html",
          "/play/", "/poster/99999.svg", "/media/none.webm", "/nothing.html", "/vrtataXasp?id=1001",
          "/scj.asp?scid=99999&scna=x", "/scj.asp?scid=abc"}) {
        QTest::newRow(target) << std::string(target);
    }
}

void TestDemoPortalPages::notFound() {
    QFETCH(std::string, target);
    PortalClient client(portal_->port());
    const auto reply = client.get(target);
    QCOMPARE(reply.status, 404);
    QCOMPARE(reply.contentType, std::string("text/html; charset=utf-8"));
    QVERIFY(reply.body.find("页面不存在") != std::string::npos);
}

void TestDemoPortalPages::limits_data() {
    QTest::addColumn<std::string>("target");
    QTest::addColumn<int>("bodySize");        // < 0: a GET
    QTest::addColumn<std::string>("header");  // an extra header's value
    QTest::addColumn<int>("status");
    std::string chinese100;
    for (int i = 0; i < 100; ++i) {
        chinese100 += "江";
    }
    const std::string search = "/search2010.asp?searchword=";
    const std::string none;
    QTest::newRow("100 characters") << search + percentEncode(chinese100) << -1 << none << 200;
    QTest::newRow("101 characters")
        << search + percentEncode(chinese100 + "江") << -1 << none << 400;
    QTest::newRow("101 letters") << search + std::string(101, 'a') << -1 << none << 400;
    QTest::newRow("long name") << "/scj.asp?scid=1001&scna=" + std::string(101, 'a') << -1 << none
                               << 400;
    QTest::newRow("small body") << std::string("/scj.asp") << 100 << none << 404;
    QTest::newRow("large body") << std::string("/scj.asp") << 64 * 1024 << none << 413;
    QTest::newRow("escape of no hex") << search + "%zz" << -1 << none << 400;
    QTest::newRow("escape of one digit") << search + "a%4g" << -1 << none << 400;
    QTest::newRow("escape cut at the end")
        << std::string("/scj.asp?scid=1001&scna=%4") << -1 << none << 400;
    QTest::newRow("request line over 8 KiB")
        << search + std::string(9000, 'a') << -1 << none << 414;
    QTest::newRow("header over 8 KiB")
        << std::string("/ty_00.html") << -1 << std::string(9000, 'h') << 400;
}

void TestDemoPortalPages::limits() {
    QFETCH(std::string, target);
    QFETCH(int, bodySize);
    QFETCH(std::string, header);
    QFETCH(int, status);
    PortalClient client(portal_->port());
    if (!header.empty()) {
        client.addHeader("X-Long", header);
    }
    const auto reply =
        bodySize < 0 ? client.get(target)
                     : client.post(target, std::string(static_cast<std::size_t>(bodySize), 'x'));
    QCOMPARE(reply.status, status);
    QVERIFY(reply.body.find("返回片库") != std::string::npos || status == 200);
}

void TestDemoPortalPages::media_data() {
    QTest::addColumn<std::string>("target");
    QTest::newRow("feature") << std::string("/media/feature.webm");
    QTest::newRow("channel") << std::string("/media/channel.webm");
    QTest::newRow("test card") << std::string("/media/testcard.webm");
    QTest::newRow("720p film") << std::string("/media/hd.mp4");
    QTest::newRow("RealMedia film") << std::string("/media/classic.rm");
}

void TestDemoPortalPages::media() {
    QFETCH(std::string, target);
    PortalClient client(portal_->port());
    const auto whole = client.get(target);
    QCOMPARE(whole.status, 200);
    QVERIFY(whole.contentType.starts_with("video/") ||
            whole.contentType == "application/vnd.rn-realmedia");
    QVERIFY(whole.body.size() > 20'000 && whole.body.size() <= 3 * 1024 * 1024);
    // Players seek with ranges.
    const auto part = client.get(target, "bytes=100-199");
    QCOMPARE(part.status, 206);
    QCOMPARE(part.body, whole.body.substr(100, 100));
}

void TestDemoPortalPages::playAndTvVideos() {
    PortalClient client(portal_->port());
    const std::string play = client.get("/play/?1005-0-0.html").body;
    const auto videos = allBetween(play, "<video ", ">");
    QCOMPARE(videos.size(), 1u);
    for (const char* flag : {" loop", " controls", " muted"}) {
        QVERIFY2(videos[0].find(flag) != std::string::npos, flag);
    }
    // The page's script plays it, in the page or in the client's own player.
    QCOMPARE(client.get(attribute(videos[0], "data-src")).status, 200);
    QVERIFY(play.find("<h1>月光邮差</h1>") != std::string::npos);

    const std::string tv = client.get("/tv?ch=3").body;
    const auto channels = allBetween(tv, "<a href=\"/tv?ch=", ">");
    QVERIFY(channels.size() >= 4);
    for (std::size_t i = 0; i < channels.size(); ++i) {
        QCOMPARE(channels[i].find("class=\"on\"") != std::string::npos, i == 2);
        const auto video = client.get(attribute(" " + channels[i], "data-video"));
        QCOMPARE(video.contentType, std::string("video/webm"));
    }
}

void TestDemoPortalPages::builtInInstallerRuns() {
    PortalClient client(portal_->port());
    const auto reply = client.get("/new.swf");
    QCOMPARE(reply.status, 200);
    QCOMPARE(reply.contentType, std::string("application/octet-stream"));
    QTemporaryDir folder;
    const QString script = folder.filePath(QStringLiteral("setup.sh"));
    std::ofstream(script.toStdString(), std::ios::binary) << reply.body;
    QCOMPARE(QProcess::execute(QStringLiteral("sh"), {script}), 0);
    QVERIFY(QFile::exists(folder.filePath(QStringLiteral("tivora-installer-ran.txt"))));
}

void TestDemoPortalPages::installerFileServedWhole() {
    QTemporaryDir folder;
    const std::string path = folder.filePath(QStringLiteral("setup.bin")).toStdString();
    std::string bytes(300 * 1024, '\0');
    std::mt19937 random(7);
    for (char& byte : bytes) {
        byte = static_cast<char>(random() & 0xFF);
    }
    std::ofstream(path, std::ios::binary) << bytes;
    PortalOptions options;
    options.installerPath = path;
    const auto portal = startPortal(options);
    QVERIFY(portal);
    PortalClient client(portal->port());
    const auto reply = client.get("/new.swf");
    QCOMPARE(reply.body.size(), bytes.size());
    QVERIFY(reply.body == bytes);
}

void TestDemoPortalPages::roots() {
    QVERIFY(portal_->port() > 0);
    QCOMPARE(portal_->root(), "http://127.0.0.1:" + std::to_string(portal_->port()));
    QCOMPARE(portal_->siteRoot(), portal_->root() + "/site");
    PortalClient client(portal_->port());
    const auto reply = client.get("/site");
    QCOMPARE(reply.status / 100, 3);
    QCOMPARE(reply.location, std::string("/site/"));
    const std::string help = client.get("/site/vrdl3.html").body;
    for (const char* text : {"F1", "F2", "影片大厅", "F3", "播放中心", "F4", "F5", "刷新", "F6",
                             "下载列表", "开始播放", "菜单", "本地播放", "右侧"}) {
        QVERIFY2(help.find(text) != std::string::npos, text);
    }
}

void TestDemoPortalPages::startFailures_data() {
    QTest::addColumn<PortalOptions>("options");
    const auto row = [](const char* name, auto change) {
        PortalOptions options;
        options.database = ":memory:";
        change(options);
        QTest::newRow(name) << options;
    };
    row("bad version", [](PortalOptions& o) { o.latestVersion = "1.10"; });
    row("port taken", [this](PortalOptions& o) { o.port = portal_->port(); });
    row("no installer", [](PortalOptions& o) { o.installerPath = "/nonexistent/setup"; });
    row("no database folder", [](PortalOptions& o) { o.database = "/nonexistent/a.db"; });
    row("bad address", [](PortalOptions& o) { o.bind = "999.0.0.1"; });
}

void TestDemoPortalPages::startFailures() {
    QFETCH(PortalOptions, options);
    DemoPortal portal(options);
    std::string error;
    QVERIFY(!portal.start(&error));
    QVERIFY(!error.empty());
    QVERIFY(!portal.isRunning());
    QCOMPARE(portal.port(), 0);
}

void TestDemoPortalPages::stopIsQuickWithIdleConnection() {
    const auto portal = startPortal({});
    QVERIFY(portal);
    PortalClient client(portal->port());
    QCOMPARE(client.get("/vrtj.html").status, 200);  // leaves an idle keep-alive connection
    QElapsedTimer timer;
    timer.start();
    portal->stop();
    QVERIFY2(timer.elapsed() < 3000, "stop() waited on an idle connection");
    QCOMPARE(client.get("/vrtj.html").status, 0);
    portal->stop();  // again: nothing to do
}

QTEST_GUILESS_MAIN(TestDemoPortalPages)
#include "tst_demoportal_pages.moc"
