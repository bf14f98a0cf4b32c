// Command line over the built-in configuration.
#include "app/AppConfig.h"
#include "forms/LocalPath.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <memory>

#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace tivora {

using Action = CommandLine::Action;

class TestAppConfig final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A GBK name (第一集), as argv brings it: found on disk, kept readable.
    void gbkNamedFileFromTheCommandLine() {
        QTemporaryDir folder;
        // QTemporaryDir cannot remove what Qt cannot name.
        const std::unique_ptr<QTemporaryDir, void (*)(QTemporaryDir*)> removed(
            &folder,
            [](QTemporaryDir* dir) { std::filesystem::remove_all(dir->path().toStdString()); });
        const QByteArray bytes = QFile::encodeName(folder.path()) + "/\xb5\xda\xd2\xbb\xbc\xaf.mp4";
        const int fd = ::open(bytes.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        QVERIFY(fd >= 0 && ::close(fd) == 0);
        const CommandLine line =
            parseCommandLine({u"tivora"_s, localpath::fromBytes(bytes)}, AppConfig{});
        QCOMPARE(int(line.action), int(CommandLine::Action::Run));
        QCOMPARE(line.config.openFile, folder.path() + u"/第一集.mp4"_s);
        QCOMPARE(localpath::toBytes(line.config.openFile), bytes);
    }

    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("portalRoot");
        QTest::addColumn<QString>("siteRoot");

        const auto run = static_cast<int>(Action::Run);
        const auto error = static_cast<int>(Action::Error);
        QTest::newRow("nothing given keeps built-in")
            << QStringList{} << run << u"http://built.in"_s << u"http://site.in"_s;
        QTest::newRow("portal root") << QStringList{u"--portal-root"_s, u"http://vod.example.com"_s}
                                     << run << u"http://vod.example.com"_s << u"http://site.in"_s;
        QTest::newRow("trailing slash dropped")
            << QStringList{u"--portal-root=https://vod.example.com:8443/portal/"_s} << run
            << u"https://vod.example.com:8443/portal"_s << u"http://site.in"_s;
        QTest::newRow("several trailing slashes dropped")
            << QStringList{u"--site-root"_s, u"http://maker.example.com//"_s} << run
            << u"http://built.in"_s << u"http://maker.example.com"_s;
        QTest::newRow("qt options left for qt")
            << QStringList{u"-platform"_s, u"offscreen"_s, u"-reverse"_s} << run
            << u"http://built.in"_s << u"http://site.in"_s;
        QTest::newRow("new instance") << QStringList{u"--new-instance"_s} << run
                                      << u"http://built.in"_s << u"http://site.in"_s;
        QTest::newRow("relative address") << QStringList{u"--portal-root"_s, u"vod.example.com"_s}
                                          << error << QString() << QString();
        QTest::newRow("other scheme") << QStringList{u"--portal-root"_s, u"ftp://vod.example.com"_s}
                                      << error << QString() << QString();
        QTest::newRow("no host") << QStringList{u"--site-root"_s, u"http://"_s} << error
                                 << QString() << QString();
        QTest::newRow("query") << QStringList{u"--portal-root"_s, u"http://a.example.com/?x=1"_s}
                               << error << QString() << QString();
        QTest::newRow("missing value")
            << QStringList{u"--portal-root"_s} << error << QString() << QString();
        QTest::newRow("unknown option")
            << QStringList{u"--frobnicate"_s} << error << QString() << QString();
        QTest::newRow("stray argument")
            << QStringList{u"http://a.example.com"_s} << error << QString() << QString();
        QTest::newRow("help") << QStringList{u"--help"_s} << static_cast<int>(Action::Help)
                              << QString() << QString();
        QTest::newRow("version") << QStringList{u"--version"_s} << static_cast<int>(Action::Version)
                                 << QString() << QString();
    }

    void portalEncoding_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("encoding");
        const auto utf8 = static_cast<int>(portal::QueryEncoding::Utf8);
        const auto gbk = static_cast<int>(portal::QueryEncoding::Gbk);
        QTest::newRow("default") << QStringList{} << true << utf8;
        QTest::newRow("gbk") << QStringList{u"--portal-encoding"_s, u"gbk"_s} << true << gbk;
        QTest::newRow("GBK") << QStringList{u"--portal-encoding=GBK"_s} << true << gbk;
        QTest::newRow("utf-8") << QStringList{u"--portal-encoding"_s, u"utf-8"_s} << true << utf8;
        QTest::newRow("other") << QStringList{u"--portal-encoding"_s, u"latin1"_s} << false << 0;
    }

    void portalEncoding() {
        QFETCH(QStringList, arguments);
        QFETCH(bool, accepted);
        QFETCH(int, encoding);
        const CommandLine result = parseCommandLine(QStringList{u"tivora"_s} + arguments, {});
        QCOMPARE(result.action == Action::Run, accepted);
        if (accepted) {
            QCOMPARE(static_cast<int>(result.config.portalEncoding), encoding);
        } else {
            QVERIFY(result.message.contains(u"latin1"_s));
        }
    }

    void commandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(int, action);
        QFETCH(QString, portalRoot);
        QFETCH(QString, siteRoot);

        const AppConfig builtIn{.portalRoot = u"http://built.in"_s,
                                .siteRoot = u"http://site.in"_s,
                                .adminQQ = u"1"_s,
                                .groupQQ1 = u"2"_s,
                                .groupQQ2 = u"3"_s};
        const CommandLine result = parseCommandLine(QStringList{u"tivora"_s} + arguments, builtIn);
        QCOMPARE(static_cast<int>(result.action), action);
        if (result.action == Action::Run) {
            QCOMPARE(result.config.portalRoot, portalRoot);
            QCOMPARE(result.config.siteRoot, siteRoot);
            QCOMPARE(result.config.adminQQ, u"1"_s);
            QCOMPARE(result.newInstance, arguments.contains(u"--new-instance"_s));
        } else {
            QVERIFY(!result.message.isEmpty());
        }
    }

    void fileToPlayAtStart_data() {
        QTest::addColumn<QString>("argument");  // "<file>" stands for a file that exists
        QTest::addColumn<bool>("accepted");
        QTest::newRow("a file") << u"<file>"_s << true;
        QTest::newRow("a missing file") << u"/no/such/影片.rmvb"_s << false;
        QTest::newRow("an address") << u"http://a.example.com/x.rm"_s << false;
    }

    void fileToPlayAtStart() {
        QFETCH(QString, argument);
        QFETCH(bool, accepted);
        QTemporaryDir folder;
        const QString file = folder.filePath(u"影片.rmvb"_s);
        QFile(file).open(QIODevice::WriteOnly);
        if (argument == u"<file>"_s) {
            argument = file;
        }
        const CommandLine result = parseCommandLine({u"tivora"_s, argument}, builtInConfig());
        QCOMPARE(result.action == Action::Run, accepted);
        QCOMPARE(result.config.openFile, accepted ? file : QString());
        QCOMPARE(parseCommandLine({u"tivora"_s, file, file}, builtInConfig()).action,
                 Action::Error);
    }

    void helpNamesTheProgramAndItsOptionsAndVersionNamesTheProduct() {
        const CommandLine help = parseCommandLine({u"tivora"_s, u"--help"_s}, builtInConfig());
        QVERIFY(help.message.contains(u"--portal-root"_s));
        QVERIFY(help.message.contains(u"--site-root"_s));
        QVERIFY(help.message.contains(u"--new-instance"_s));
        QVERIFY2(help.message.startsWith(u"Usage: tivora [options] [FILE]\n"_s),
                 qPrintable(help.message));
        const CommandLine version =
            parseCommandLine({u"tivora"_s, u"--version"_s}, builtInConfig());
        QVERIFY(version.message.startsWith(u"Tivora 1.0"_s));
    }
};

}  // namespace tivora

QTEST_GUILESS_MAIN(tivora::TestAppConfig)
#include "tst_appconfig.moc"
