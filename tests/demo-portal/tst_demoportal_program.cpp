#include "demo-portal/PortalClient.h"
#include "demo-portal/RawConnection.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <sys/resource.h>

#include <csignal>
#include <string>
#include <thread>
#include <vector>

using tivora::demo::test::PortalClient;
using tivora::demo::test::RawConnection;
using tivora::demo::test::statuses;

namespace {

QString program() {
    return QStringLiteral(TIVORA_BIN_DIR "/tivora-portal");
}

// Starts the program on a free port; the port, or 0 when it did not come up.
int startPortal(QProcess& process, QStringList arguments = {}) {
    arguments << QStringLiteral("--port") << QStringLiteral("0") << QStringLiteral("--db")
              << QStringLiteral(":memory:");
    process.start(program(), arguments);
    if (!process.waitForStarted(10000) || !process.waitForReadyRead(10000)) {
        return 0;
    }
    const QString line = QString::fromUtf8(process.readLine()).trimmed();
    const auto match =
        QRegularExpression(QStringLiteral("^Tivora demo portal: http://127\\.0\\.0\\.1:(\\d+)$"))
            .match(line);
    if (!match.hasMatch()) {
        qWarning("unexpected first line: %s", qPrintable(line));
        return 0;
    }
    return match.captured(1).toInt();
}

// A connection that has begun a request and sends one more piece of it at each drip(): a header
// line, or a byte of a body it announced as 16,000 bytes.
class DrippingClient final {
public:
    DrippingClient(int port, bool body) : connection_(port), body_(body) {
        connection_.send(body ? "POST /scj.asp HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                                "Content-Length: 16000\r\n\r\n"
                              : "GET /ty_00.html HTTP/1.1\r\nHost: 127.0.0.1\r\n");
    }

    [[nodiscard]] bool connected() const { return connection_.connected(); }
    void drip() { connection_.send(body_ ? "x" : "X-Drip: 1\r\n"); }
    [[nodiscard]] const std::string& received() { return connection_.received(); }
    [[nodiscard]] bool cut() { return connection_.closedByPeer(); }

private:
    RawConnection connection_;
    bool body_;
};

// Raises this process's descriptor limit to at least wanted; false when it may not.
bool allowDescriptors(rlim_t wanted) {
    rlimit files{};
    if (getrlimit(RLIMIT_NOFILE, &files) != 0) {
        return false;
    }
    if (files.rlim_cur >= wanted) {
        return true;
    }
    if (files.rlim_max != RLIM_INFINITY && files.rlim_max < wanted) {
        return false;
    }
    files.rlim_cur = wanted;
    return setrlimit(RLIMIT_NOFILE, &files) == 0;
}

}  // namespace

class TestDemoPortalProgram final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void refusedArguments_data();
    void refusedArguments();
    void servesUntilSignalled_data();
    void servesUntilSignalled();
    void slowClientsDoNotStallOthers();
    void thousandsOfConnectionsAtOnce();
};

void TestDemoPortalProgram::refusedArguments_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("says");
    QTest::newRow("help") << QStringList{QStringLiteral("--help")} << 0
                          << QStringLiteral("--latest-version");
    QTest::newRow("version form") << QStringList{QStringLiteral("--latest-version"),
                                                 QStringLiteral("1.23")}
                                  << 2 << QStringLiteral("1.23");
    QTest::newRow("version letters")
        << QStringList{QStringLiteral("--latest-version=v1")} << 2 << QStringLiteral("v1");
    QTest::newRow("no installer") << QStringList{QStringLiteral("--installer"),
                                                 QStringLiteral("/nonexistent/setup")}
                                  << 2 << QStringLiteral("/nonexistent/setup");
    QTest::newRow("unknown option")
        << QStringList{QStringLiteral("--verbose")} << 2 << QStringLiteral("--verbose");
}

void TestDemoPortalProgram::refusedArguments() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, says);
    QProcess process;
    process.start(program(), arguments);
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), exitCode);
    // Help goes to standard output, complaints to standard error.
    const QByteArray text =
        exitCode == 0 ? process.readAllStandardOutput() : process.readAllStandardError();
    QVERIFY2(QString::fromUtf8(text).contains(says), text.constData());
}

void TestDemoPortalProgram::servesUntilSignalled_data() {
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGINT") << SIGINT;
}

void TestDemoPortalProgram::servesUntilSignalled() {
    QFETCH(int, signal);
    QProcess process;
    const int port =
        startPortal(process, {QStringLiteral("--latest-version"), QStringLiteral("1.2")});
    QVERIFY(port > 0);
    {
        PortalClient client(port);
        const auto reply = client.get("/vrpcs.asp");
        QCOMPARE(reply.status, 200);
        QVERIFY(reply.body.find("qor13=12") != std::string::npos);
        QVERIFY(reply.body.find("v10") == std::string::npos);
    }
    QCOMPARE(::kill(static_cast<pid_t>(process.processId()), signal), 0);
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
}

void TestDemoPortalProgram::slowClientsDoNotStallOthers() {
    QProcess process;
    const int port = startPortal(process);
    QVERIFY(port > 0);
    std::vector<std::unique_ptr<DrippingClient>> slow;
    for (int i = 0; i < 600; ++i) {
        slow.push_back(std::make_unique<DrippingClient>(port, i % 2 == 1));
        QVERIFY(slow.back()->connected());
    }
    PortalClient visitor(port);
    QElapsedTimer running;
    running.start();
    // Past the portal's deadline for a whole request, dripping every quarter second: headers
    // that never end, and bodies that would take an hour.
    while (running.elapsed() < 6000) {
        for (const auto& client : slow) {
            client->drip();
        }
        QElapsedTimer answer;
        answer.start();
        QCOMPARE(visitor.get("/ty_00.html").status, 200);
        QVERIFY2(answer.elapsed() < 1000, qPrintable(QString::number(answer.elapsed())));
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
    }
    for (const auto& client : slow) {
        QTRY_VERIFY_WITH_TIMEOUT(client->cut(), 5000);
        QVERIFY2(client->received().starts_with("HTTP/1.1 408"), client->received().c_str());
    }
    process.terminate();
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitCode(), 0);
}

void TestDemoPortalProgram::thousandsOfConnectionsAtOnce() {
    constexpr int count = 5000;
    if (!allowDescriptors(count + 200)) {
        QSKIP("this process may not open enough descriptors");
    }
    QProcess process;
    const int port = startPortal(process);
    QVERIFY(port > 0);
    std::vector<std::unique_ptr<RawConnection>> clients;
    clients.reserve(count);
    for (int i = 0; i < count; ++i) {
        clients.push_back(std::make_unique<RawConnection>(port));
    }
    for (const auto& client : clients) {
        client->send("GET /vrtj.html HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
    }
    // Each is answered, told the portal is full, or closed; none is left hanging.
    int served = 0;
    int refused = 0;
    for (const auto& client : clients) {
        QTRY_VERIFY_WITH_TIMEOUT(!statuses(client->received()).empty() || client->closedByPeer(),
                                 10000);
        const auto answers = statuses(client->received());
        served += answers == std::vector<int>{200} ? 1 : 0;
        refused += answers == std::vector<int>{503} ? 1 : 0;
        QVERIFY(answers.empty() || answers == std::vector<int>{200} ||
                answers == std::vector<int>{503});
    }
    QVERIFY2(served >= 1000, qPrintable(QString::number(served)));
    QVERIFY(refused > 0);
    clients.clear();
    QCOMPARE(process.state(), QProcess::Running);
    PortalClient visitor(port);
    QTRY_COMPARE_WITH_TIMEOUT(visitor.get("/ty_00.html").status, 200, 5000);
    process.terminate();
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitCode(), 0);
}

QTEST_GUILESS_MAIN(TestDemoPortalProgram)
#include "tst_demoportal_program.moc"
