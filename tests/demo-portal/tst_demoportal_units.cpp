#include "demo-portal/Catalogue.h"
#include "demo-portal/HtmlText.h"
#include "demo-portal/HttpRequest.h"
#include "demo-portal/PortalCommandLine.h"
#include "demo-portal/PosterArt.h"
#include "demo-portal/RequestTarget.h"

#include <QTest>
#include <QXmlStreamReader>

#include <set>

using namespace tivora::demo;

Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(std::vector<std::string>)
Q_DECLARE_METATYPE(std::optional<int>)

class TestDemoPortalUnits final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void utf8_data();
    void utf8();
    void playTarget_data();
    void playTarget();
    void decoding_data();
    void decoding();
    void queryValues();
    void builtInCatalogue();
    void malformedCatalogue_data();
    void malformedCatalogue();
    void commandLine_data();
    void commandLine();
};

void TestDemoPortalUnits::utf8_data() {
    QTest::addColumn<std::string>("text");
    QTest::addColumn<std::string>("sanitized");
    QTest::addColumn<int>("length");
    const std::string bad = "\xEF\xBF\xBD";
    QTest::newRow("ascii") << std::string("Lily") << std::string("Lily") << 4;
    QTest::newRow("chinese") << std::string("江南") << std::string("江南") << 2;
    QTest::newRow("four bytes") << std::string("\xF0\x9F\x8E\xAC")
                                << std::string("\xF0\x9F\x8E\xAC") << 1;
    QTest::newRow("lone continuation") << std::string("a\x80") << "a" + bad << 2;
    QTest::newRow("cut sequence") << std::string("\xE6\xB1") << bad + bad << 2;
    QTest::newRow("overlong") << std::string("\xC0\xAF") << bad + bad << 2;
    QTest::newRow("surrogate") << std::string("\xED\xA0\x80") << bad + bad + bad << 3;
}

void TestDemoPortalUnits::utf8() {
    QFETCH(std::string, text);
    QFETCH(std::string, sanitized);
    QFETCH(int, length);
    QCOMPARE(sanitizeUtf8(text), sanitized);
    QCOMPARE(utf8Length(sanitizeUtf8(text)), static_cast<std::size_t>(length));
}

void TestDemoPortalUnits::playTarget_data() {
    QTest::addColumn<std::string>("target");
    QTest::addColumn<std::optional<int>>("film");
    QTest::newRow("play") << std::string("/play/?1001-0-0.html") << std::optional<int>(1001);
    QTest::newRow("other episode")
        << std::string("/play/?1002-3-12.html") << std::optional<int>(1002);
    QTest::newRow("fragment") << std::string("/play/?1003-0-0.html#top")
                              << std::optional<int>(1003);
    QTest::newRow("no query") << std::string("/play/") << std::optional<int>();
    QTest::newRow("no suffix") << std::string("/play/?1001-0-0") << std::optional<int>();
    QTest::newRow("one part") << std::string("/play/?1001.html") << std::optional<int>();
    QTest::newRow("letters") << std::string("/play/?10a1-0-0.html") << std::optional<int>();
    QTest::newRow("negative") << std::string("/play/?-1-0-0.html") << std::optional<int>();
    QTest::newRow("huge") << std::string("/play/?99999999999-0-0.html") << std::optional<int>();
    QTest::newRow("keyed") << std::string("/play/?id=1001-0-0.html") << std::optional<int>();
}

void TestDemoPortalUnits::playTarget() {
    QFETCH(std::string, target);
    QFETCH(std::optional<int>, film);
    QCOMPARE(RequestTarget::playFilmId(RequestTarget::query(target)), film);
}

void TestDemoPortalUnits::decoding_data() {
    QTest::addColumn<std::string>("text");
    QTest::addColumn<bool>("plusIsSpace");
    QTest::addColumn<std::string>("decoded");
    QTest::newRow("plain") << std::string("/ty_00.html") << false << std::string("/ty_00.html");
    QTest::newRow("space") << std::string("a%20b") << false << std::string("a b");
    QTest::newRow("chinese") << std::string("%E6%B1%9F") << true << std::string("江");
    QTest::newRow("lower hex") << std::string("%e6%b1%9f") << true << std::string("江");
    QTest::newRow("plus in a query") << std::string("1+1") << true << std::string("1 1");
    QTest::newRow("plus in a path") << std::string("1+1") << false << std::string("1+1");
    QTest::newRow("escaped plus") << std::string("1%2B1") << true << std::string("1+1");
    QTest::newRow("NUL kept") << std::string("a%00b") << true << std::string("a\0b", 3);
    QTest::newRow("no hex") << std::string("%zz") << true << std::string("%zz");
    QTest::newRow("cut short") << std::string("a%4") << true << std::string("a%4");
}

void TestDemoPortalUnits::decoding() {
    QFETCH(std::string, text);
    QFETCH(bool, plusIsSpace);
    QFETCH(std::string, decoded);
    QCOMPARE(RequestTarget::decoded(text, plusIsSpace), decoded);
}

void TestDemoPortalUnits::queryValues() {
    HttpRequest request("GET", "/search%20page?a=1&a=2&flag&c=x+y%26z&=lost&&d=");
    QCOMPARE(request.path(), std::string("/search page"));
    QCOMPARE(request.param("a"), std::string("1"));
    QVERIFY(request.hasParam("flag"));
    QCOMPARE(request.param("flag"), std::string());
    QCOMPARE(request.param("c"), std::string("x y&z"));
    QVERIFY(request.hasParam("d"));
    QVERIFY(!request.hasParam("missing"));
    QVERIFY(!request.hasParam(""));
    request.addHeader("cookie", "one");
    request.addHeader("Cookie", "two");
    QCOMPARE(request.header("COOKIE"), std::string("one"));
    QCOMPARE(request.headerCount("Cookie"), 2U);
    QCOMPARE(request.header("Range"), std::string());
}

void TestDemoPortalUnits::builtInCatalogue() {
    const Catalogue& catalogue = Catalogue::builtIn();
    QVERIFY(catalogue.films().size() >= 40);
    std::set<int> ids;
    bool latinTitle = false;
    bool latinActor = false;
    for (const Film& film : catalogue.films()) {
        QVERIFY2(ids.insert(film.id).second, "film ids are unique");
        QVERIFY(!film.actors.empty() && !film.description.empty() && film.year > 1900);
        latinTitle = latinTitle || asciiLower(film.title) != film.title;
        for (const std::string& actor : film.actors) {
            latinActor = latinActor || asciiLower(actor) != actor;
        }
        // Every poster is well-formed XML holding its title, even "R&B".
        const std::string svg = PosterArt::svg(film);
        QXmlStreamReader xml(QByteArray::fromStdString(svg));
        QString text;
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::Characters) {
                text += xml.text();
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QVERIFY(text.contains(QString::fromStdString(film.title)));
    }
    QVERIFY(latinTitle && latinActor);
}

void TestDemoPortalUnits::malformedCatalogue_data() {
    QTest::addColumn<std::string>("json");
    const std::string good =
        "{\"id\": 1, \"title\": \"A\", \"colors\": [\"#000000\", \"#ffffff\"], \"actors\": "
        "[\"B\"]}";
    QTest::newRow("not json") << std::string("{films");
    QTest::newRow("no films") << std::string("{\"films\": []}");
    QTest::newRow("no title") << std::string(
        "{\"films\": [{\"id\": 1, \"colors\": [\"#000000\", \"#ffffff\"]}]}");
    QTest::newRow("bad colour") << std::string(
        "{\"films\": [{\"id\": 1, \"title\": \"A\", \"colors\": [\"red\", \"#ffffff\"]}]}");
    QTest::newRow("duplicate id") << "{\"films\": [" + good + "," + good + "]}";
}

void TestDemoPortalUnits::malformedCatalogue() {
    QFETCH(std::string, json);
    std::string error;
    QVERIFY(Catalogue::fromJson(json, &error).films().empty());
    QVERIFY(!error.empty());
}

void TestDemoPortalUnits::commandLine_data() {
    // Any existing file will do as an installer.
    const std::string file = QCoreApplication::applicationFilePath().toStdString();

    QTest::addColumn<std::vector<std::string>>("arguments");
    QTest::addColumn<int>("action");
    QTest::addColumn<std::string>("field");  // "name=value" the options must show
    using A = PortalCommandLine::Action;
    const auto row = [](const char* name, std::vector<std::string> arguments, A action,
                        std::string field = {}) {
        QTest::newRow(name) << arguments << static_cast<int>(action) << field;
    };
    row("defaults", {}, A::Run, "bind=127.0.0.1");
    row("help", {"--help"}, A::Help);
    row("port", {"--port", "8080"}, A::Run, "port=8080");
    row("port joined", {"--port=0"}, A::Run, "port=0");
    row("port too big", {"--port", "70000"}, A::Error);
    row("port not a number", {"--port", "80a"}, A::Error);
    row("port missing", {"--port"}, A::Error);
    row("bind", {"--bind", "0.0.0.0"}, A::Run, "bind=0.0.0.0");
    row("database", {"--db", ":memory:"}, A::Run, "db=:memory:");
    row("version", {"--latest-version", "1.2"}, A::Run, "version=1.2");
    row("version two digits", {"--latest-version", "1.23"}, A::Error);
    row("version letters", {"--latest-version", "a.b"}, A::Error);
    row("version no dot", {"--latest-version", "12"}, A::Error);
    row("installer", {"--installer", file}, A::Run, "installer=" + file);
    row("installer missing", {"--installer", file + ".none"}, A::Error);
    row("unknown", {"--verbose"}, A::Error);
    row("stray word", {"serve"}, A::Error);
}

void TestDemoPortalUnits::commandLine() {
    QFETCH(std::vector<std::string>, arguments);
    QFETCH(int, action);
    QFETCH(std::string, field);
    const PortalCommandLine::Result result = PortalCommandLine::parse(arguments);
    QCOMPARE(static_cast<int>(result.action), action);
    QCOMPARE(result.message.empty(), result.action == PortalCommandLine::Action::Run);
    const PortalOptions& o = result.options;
    const std::string shown = field.substr(0, field.find('=') + 1);
    const std::string value = shown == "bind="        ? o.bind
                              : shown == "port="      ? std::to_string(o.port)
                              : shown == "db="        ? o.database
                              : shown == "version="   ? o.latestVersion
                              : shown == "installer=" ? o.installerPath
                                                      : std::string();
    QCOMPARE(shown + value, field);
}

QTEST_GUILESS_MAIN(TestDemoPortalUnits)
#include "tst_demoportal_units.moc"
