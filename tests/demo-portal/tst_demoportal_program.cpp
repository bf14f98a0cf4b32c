#include "demo-portal/PortalClient.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>
#include <string>
#include <thread>
#include <vector>

using tivora::demo::test::PortalClient;

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

// A connection that has begun a request and sends one more header line at each drip().
class DrippingClient final {
public:
    explicit DrippingClient(int port) : socket_(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): the sockets API
        connected_ = ::connect(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        send("GET /ty_00.html HTTP/1.1\r\nHost: 127.0.0.1\r\n");
    }
    ~DrippingClient() { ::close(socket_); }
    DrippingClient(const DrippingClient&) = delete;
    DrippingClient& operator=(const DrippingClient&) = delete;

    [[nodiscard]] bool connected() const { return connected_; }
    void drip() { send("X-Drip: 1\r\n"); }
    // What the server has sent so far.
    [[nodiscard]] std::string received() {
        char buffer[512];
        ssize_t got = 0;
        while ((got = ::recv(socket_, buffer, sizeof buffer, MSG_DONTWAIT)) > 0) {
            received_.append(buffer, static_cast<std::size_t>(got));
        }
        return received_;
    }

private:
    void send(std::string_view text) {
        static_cast<void>(::send(socket_, text.data(), text.size(), MSG_NOSIGNAL));
    }

    int socket_;
    bool connected_ = false;
    std::string received_;
};

}  // namespace

class TestDemoPortalProgram final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void refusedArguments_data();
    void refusedArguments();
    void servesUntilSignalled_data();
    void servesUntilSignalled();
    void slowClientsDoNotStallOthers();
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
    for (int i = 0; i < 50; ++i) {
        slow.push_back(std::make_unique<DrippingClient>(port));
        QVERIFY(slow.back()->connected());
    }
    PortalClient visitor(port);
    QElapsedTimer running;
    running.start();
    // Past the portal's deadline for a whole request, dripping a line every quarter second.
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
        QVERIFY2(client->received().starts_with("HTTP/1.1 408"), client->received().c_str());
    }
    process.terminate();
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitCode(), 0);
}

QTEST_GUILESS_MAIN(TestDemoPortalProgram)
#include "tst_demoportal_program.moc"
