#include "PortalClient.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <csignal>

using tivora::demo::test::PortalClient;

namespace {

QString program() {
    return QStringLiteral(TIVORA_BIN_DIR "/tivora-portal");
}

}  // namespace

class TestDemoPortalProgram final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void refusedArguments_data();
    void refusedArguments();
    void servesUntilSignalled_data();
    void servesUntilSignalled();
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
    process.start(program(), {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--db"),
                              QStringLiteral(":memory:"), QStringLiteral("--latest-version"),
                              QStringLiteral("1.2")});
    QVERIFY(process.waitForStarted(10000));
    QVERIFY(process.waitForReadyRead(10000));
    const QString line = QString::fromUtf8(process.readLine()).trimmed();
    const auto match =
        QRegularExpression(QStringLiteral("^Tivora demo portal: http://127\\.0\\.0\\.1:(\\d+)$"))
            .match(line);
    QVERIFY2(match.hasMatch(), qPrintable(line));
    {
        PortalClient client(match.captured(1).toInt());
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

QTEST_GUILESS_MAIN(TestDemoPortalProgram)
#include "tst_demoportal_program.moc"
