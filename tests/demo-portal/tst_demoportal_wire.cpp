#include "demo-portal/DemoPortal.h"
#include "demo-portal/RawConnection.h"

#include <QTest>

#include <memory>
#include <string>
#include <vector>

using namespace tivora::demo;
using tivora::demo::test::RawConnection;
using tivora::demo::test::statuses;

Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(std::vector<int>)

namespace {

std::string get(const std::string& target, const std::string& headers = {}) {
    return "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + headers + "\r\n";
}

std::string post(const std::string& headers, const std::string& body) {
    return "POST /scj.asp HTTP/1.1\r\nHost: 127.0.0.1\r\n" + headers + "\r\n" + body;
}

}  // namespace

// The portal's HTTP framing, byte by byte over plain sockets.
class TestDemoPortalWire final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void answers_data();
    void answers();
    void headHasNoBody();
    void halfClosedClientIsAnswered();

private:
    std::unique_ptr<DemoPortal> portal_;
};

void TestDemoPortalWire::initTestCase() {
    PortalOptions options;
    options.database = ":memory:";
    portal_ = std::make_unique<DemoPortal>(options);
    QVERIFY(portal_->start());
}

void TestDemoPortalWire::cleanupTestCase() {
    portal_.reset();
}

void TestDemoPortalWire::answers_data() {
    QTest::addColumn<std::string>("bytes");
    QTest::addColumn<std::vector<int>>("expected");
    const std::string close = "Connection: close\r\n";
    const std::string atLimit = "/ty_00.html?" + std::string(8192 - 12, 'a');
    const std::string field = "X-Long: ";
    QTest::newRow("pipelined, answered in order")
        << get("/ty_00.html") + get("/nothing") + get("/vrtj.html", close)
        << std::vector<int>{200, 404, 200};
    QTest::newRow("HTTP/1.0 closes")
        << std::string("GET /vrtj.html HTTP/1.0\r\n\r\n") << std::vector<int>{200};
    QTest::newRow("target at the limit") << get(atLimit, close) << std::vector<int>{200};
    QTest::newRow("target a byte past") << get(atLimit + "a") << std::vector<int>{414};
    QTest::newRow("request line without end") << std::string(70000, 'G') << std::vector<int>{414};
    QTest::newRow("header line at the limit")
        << get("/vrtj.html", field + std::string(8192 - field.size(), 'h') + "\r\n" + close)
        << std::vector<int>{200};
    QTest::newRow("header line a byte past")
        << get("/vrtj.html", field + std::string(8193 - field.size(), 'h') + "\r\n")
        << std::vector<int>{400};
    QTest::newRow("body at the limit")
        << post(close + "Content-Length: 16384\r\n", std::string(16384, 'b'))
        << std::vector<int>{404};
    QTest::newRow("body a byte past")
        << post("Content-Length: 16385\r\n", std::string(16385, 'b')) << std::vector<int>{413};
    QTest::newRow("two content lengths")
        << post("Content-Length: 5\r\nContent-Length: 6\r\n", "hello!") << std::vector<int>{400};
    QTest::newRow("same content length twice")
        << post(close + "Content-Length: 5\r\nContent-Length: 5\r\n", "hello")
        << std::vector<int>{404};
    QTest::newRow("chunked and a length")
        << post("Transfer-Encoding: chunked\r\nContent-Length: 5\r\n", "5\r\nhello\r\n0\r\n\r\n")
        << std::vector<int>{400};
    QTest::newRow("chunked body") << post(close + "Transfer-Encoding: chunked\r\n",
                                          "5\r\nhello\r\n0\r\n\r\n")
                                  << std::vector<int>{404};
    QTest::newRow("expects to continue")
        << post(close + "Expect: 100-continue\r\nContent-Length: 5\r\n", "hello")
        << std::vector<int>{100, 404};
    QTest::newRow("expects to continue, too large")
        << post("Expect: 100-continue\r\nContent-Length: 20000\r\n", "") << std::vector<int>{413};
    QTest::newRow("unknown expectation")
        << post("Expect: x\r\nContent-Length: 5\r\n", "hello") << std::vector<int>{417};
    QTest::newRow("not HTTP") << std::string("HELLO\r\n\r\n") << std::vector<int>{400};
    QTest::newRow("malformed escape, then more")
        << get("/search2010.asp?searchword=%zz") + get("/vrtj.html", close)
        << std::vector<int>{400, 200};
}

void TestDemoPortalWire::answers() {
    QFETCH(std::string, bytes);
    QFETCH(std::vector<int>, expected);
    RawConnection connection(portal_->port());
    QVERIFY(connection.connected());
    connection.send(bytes);
    // Every case ends the connection: by asking to, or by an error the portal closes on.
    QTRY_VERIFY_WITH_TIMEOUT(connection.closedByPeer(), 5000);
    QCOMPARE(statuses(connection.received()), expected);
}

void TestDemoPortalWire::headHasNoBody() {
    RawConnection connection(portal_->port());
    connection.send("HEAD /vrtj.html HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
    QTRY_VERIFY_WITH_TIMEOUT(connection.closedByPeer(), 5000);
    const std::string& answer = connection.received();
    QVERIFY(answer.starts_with("HTTP/1.1 200"));
    QVERIFY(answer.find("Content-Length: 0") == std::string::npos);
    QVERIFY(answer.ends_with("\r\n\r\n"));
}

void TestDemoPortalWire::halfClosedClientIsAnswered() {
    // Sends its request, closes its side and reads only later: answered, then let go.
    RawConnection connection(portal_->port());
    connection.send(get("/ty_00.html"));
    connection.shutdownSending();
    QTRY_VERIFY_WITH_TIMEOUT(connection.closedByPeer(), 5000);
    QCOMPARE(statuses(connection.received()), std::vector<int>{200});
    QVERIFY(connection.received().ends_with("</html>\n") ||
            connection.received().ends_with("</html>"));
}

QTEST_GUILESS_MAIN(TestDemoPortalWire)
#include "tst_demoportal_wire.moc"
