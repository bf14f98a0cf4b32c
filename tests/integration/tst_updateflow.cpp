// The start-up check and the update download against the bundled demo portal, with real panes,
// the real download and the real installer; only message boxes are scripted.
#include "app/Forms.h"
#include "browser/BrowserProfile.h"
#include "browser/WebEnginePane.h"
#include "demo-portal/DemoPortal.h"
#include "desktop/CurlDownloader.h"
#include "desktop/PlatformConventions.h"
#include "forms/Control.h"
#include "forms/QuitRequest.h"
#include "server/UpdateWindow.h"
#include "support/EventLoopWait.h"
#include "support/FakeServices.h"
#include "support/TestHttpServer.h"
#include "support/WebEngineTestMain.h"
#include "support/WindowProbes.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <csignal>

#include <unistd.h>

using namespace Qt::StringLiterals;
using tivora::test::TestHttpServer;
using tivora::test::waitUntil;

namespace tivora {
namespace {

// Real panes, downloads and program starts; scripted message boxes.
class RealServices final : public test::FakeServices {
public:
    explicit RealServices(BrowserProfile& profile) : profile_(profile) { clock.start(); }
    BrowserPane* createBrowserPane(QWidget* parent) override {
        return new WebEnginePane(profile_.profile(), parent);
    }
    bool downloadFile(const QString& source, const QString& target,
                      const DownloadProgress& progress) override {
        FakeServices::downloadFile(source, target, progress);
        const bool ok = downloader_.download(source, target, progress);
        downloadEndedAt = clock.elapsed();
        return ok;
    }
    bool startProgram(const QString& program, const QStringList& arguments,
                      WindowStyle style) override {
        FakeServices::startProgram(program, arguments, style);
        return QProcess::startDetached(program, arguments);
    }

    QElapsedTimer clock;
    qint64 downloadEndedAt = -1;

private:
    BrowserProfile& profile_;
    CurlDownloader downloader_;
};

std::unique_ptr<demo::DemoPortal> startPortal(const std::string& latest,
                                              demo::PortalOptions options = {}) {
    options.database = ":memory:";
    options.latestVersion = latest;
    auto portal = std::make_unique<demo::DemoPortal>(options);
    return portal->start() ? std::move(portal) : nullptr;
}

QByteArray fetch(const QString& address) {
    QTemporaryDir folder;
    CurlDownloader downloader;
    const QString file = folder.filePath(u"x"_s);
    if (!downloader.download(address, file)) {
        return {};
    }
    QFile bytes(file);
    return bytes.open(QIODevice::ReadOnly) ? bytes.readAll() : QByteArray();
}

}  // namespace

class TestUpdateFlow final : public QObject {
    Q_OBJECT

private:
    struct Run {
        explicit Run(BrowserProfile& profile, const QString& root)
            : services(profile), forms(services, AppConfig{.portalRoot = root}) {}
        RealServices services;
        Forms forms;
        UpdateWindow& update() { return forms.updateWindow(); }
        QString statusLine() { return update().control(u"Label1"_s).caption(); }
    };

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(storage_.isValid());
        profile_ = std::make_unique<BrowserProfile>(storage_.path());
    }

    void cleanupTestCase() { profile_.reset(); }

    void currentVersionClosesTheServerWindowSilently() {
        const auto portal = startPortal("1.0");
        QVERIFY(portal);
        Run run(*profile_, QString::fromStdString(portal->root()));
        run.forms.form(FormId::ServerConnection).show();
        QVERIFY(waitUntil([&] { return !run.forms.form(FormId::ServerConnection).isLoaded(); }));
        QVERIFY(run.services.messages.isEmpty());
    }

    void newerVersionIsOfferedAndShown() {
        const auto portal = startPortal("1.2");
        QVERIFY(portal);
        Run run(*profile_, QString::fromStdString(portal->root()));
        run.services.answers = {MsgBox::AnswerYes};
        run.forms.form(FormId::ServerConnection).show();
        QVERIFY(waitUntil([&] { return run.forms.exists(FormId::Update); }));
        QCOMPARE(run.services.messages.front().prompt, u"发现有更新，需要更新吗？"_s);
        QVERIFY(!run.forms.form(FormId::ServerConnection).isLoaded());
        QVERIFY(waitUntil([&] { return !run.statusLine().isEmpty(); }));
        QCOMPARE(run.statusLine(), u"当前版本为1.0版，最新版本为1.2版,需要更新"_s);
    }

    void downloadLandsWholeAndTheInstallerRuns() {
        const auto portal = startPortal("1.2");
        QVERIFY(portal);
        const QString root = QString::fromStdString(portal->root());
        Run run(*profile_, root);
        UpdateWindow& update = run.update();
        update.show();
        QVERIFY(waitUntil([&] { return !update.status().isEmpty(); }));
        qobject_cast<QPushButton*>(update.control(u"Command1"_s).widget())->click();
        QVERIFY(waitUntil([&] { return run.services.endedWith == 0; }));
        const QString installed = run.services.programFolder() + u"/new.exe"_s;
        QFile file(installed);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), fetch(root + u"/new.swf"_s));
        QCOMPARE(run.statusLine(), u"更新包下载成功，请安装！"_s);
        QVERIFY(waitUntil([&] {
            return QFile::exists(run.services.programFolder() + u"/tivora-installer-ran.txt"_s);
        }));
    }

    // A slow download: the status line counts up while the handler is still inside it.
    void downloadShowsItsProgress() {
        QTemporaryDir folder;
        const QString installerPath = folder.filePath(u"tivora-setup.sh"_s);
        QFile installer(installerPath);
        QVERIFY(installer.open(QIODevice::WriteOnly));
        installer.write("#!/bin/sh\n" + QByteArray(600 * 1024, '#') + "\n");
        installer.close();
        demo::PortalOptions slow;
        slow.installerPath = installerPath.toStdString();
        slow.installerBytesPerSecond = 400 * 1024;
        const auto portal = startPortal("1.2", slow);
        QVERIFY(portal);
        Run run(*profile_, QString::fromStdString(portal->root()));
        UpdateWindow& update = run.update();
        update.show();
        QVERIFY(waitUntil([&] { return !update.status().isEmpty(); }));
        QStringList seen;
        bool shot = false;
        QTimer watch;  // runs inside the download, as the window repaints
        connect(&watch, &QTimer::timeout, this, [&] {
            if (run.services.log.filter(u"download "_s).size() == 1 &&
                run.services.endedWith != 0 &&
                (seen.isEmpty() || seen.back() != run.statusLine())) {
                seen << run.statusLine();
                if (seen.back().contains(u'%') && !shot) {
                    shot = update.window()->grab().save(QStringLiteral(TIVORA_BIN_DIR) +
                                                        u"/../tests/update-progress.png"_s);
                }
            }
        });
        watch.start(20);
        qobject_cast<QPushButton*>(update.control(u"Command1"_s).widget())->click();
        QVERIFY(waitUntil([&] { return run.services.endedWith == 0; }));
        const QStringList counting = seen.filter(u"正在下载新版本… "_s);
        QVERIFY2(counting.size() >= 3, qPrintable(seen.join(u" | "_s)));
        QVERIFY(counting.front().contains(u"/0.6 MB"_s));
        QCOMPARE(run.statusLine(), u"更新包下载成功，请安装！"_s);
    }

    void failedDownloadsLeaveNoFileAndSaySo_data() {
        QTest::addColumn<bool>("reachable");
        QTest::newRow("installer not found") << true;
        QTest::newRow("server unreachable") << false;
    }

    void failedDownloadsLeaveNoFileAndSaySo() {
        QFETCH(bool, reachable);
        TestHttpServer server;  // answers the check, has no installer
        server.page(u"/vrpcs.asp"_s, u"<p>qor qor13=12</p>"_s);
        server.start();
        const QString root =
            reachable ? server.root() : u"http://127.0.0.1:%1"_s.arg(TestHttpServer::unusedPort());
        Run run(*profile_, root);
        UpdateWindow& update = run.update();
        update.show();
        if (reachable) {
            QVERIFY(waitUntil([&] { return !update.status().isEmpty(); }));
        } else {
            QVERIFY(waitUntil([&] { return !run.services.messages.isEmpty(); }));
            QCOMPARE(run.services.messages.front().prompt, u"连接更新服务器失败，请重试！"_s);
            update.show();
        }
        qobject_cast<QPushButton*>(update.control(u"Command1"_s).widget())->click();
        QVERIFY(waitUntil([&] { return !test::probe(update).timer1()->isActive(); }));
        QCOMPARE(run.statusLine(), u"更新包下载失败，请检查网络后点击“更新”重试。"_s);
        QVERIFY(QDir(run.services.programFolder()).entryList(QDir::Files | QDir::Hidden).isEmpty());
        QCOMPARE(run.services.endedWith, -1);
    }

    void unreachablePortalLeadsToTheFailureQuestion() {
        Run run(*profile_, u"http://127.0.0.1:%1"_s.arg(TestHttpServer::unusedPort()));
        run.forms.form(FormId::ServerConnection).show();
        QVERIFY(waitUntil([&] { return !run.services.messages.isEmpty(); }));
        QVERIFY(run.services.messages.front().prompt.startsWith(u"服务器连接失败，管理员QQ："_s));
        QVERIFY(!run.forms.form(FormId::ServerConnection).isLoaded());  // answered No
    }

    // SIGTERM while a slow installer comes in: the download ends within a second, leaves no piece
    // of the file and starts nothing. Last: the quit it asks for leaves no event loop running.
    void terminationSignalEndsTheDownloadAndStartsNothing() {
        QTemporaryDir folder;
        const QString installerPath = folder.filePath(u"tivora-setup.sh"_s);
        QFile installer(installerPath);
        QVERIFY(installer.open(QIODevice::WriteOnly));
        installer.write("#!/bin/sh\ntouch \"$(dirname \"$0\")/tivora-installer-ran.txt\"\n" +
                        QByteArray(4 * 1024 * 1024, '#') + "\n");
        installer.close();
        demo::PortalOptions slow;
        slow.installerPath = installerPath.toStdString();
        slow.installerBytesPerSecond = 200 * 1024;
        const auto portal = startPortal("1.2", slow);
        QVERIFY(portal);
        platform::quitOnTerminationRequest();
        Run run(*profile_, QString::fromStdString(portal->root()));
        UpdateWindow& update = run.update();
        update.show();
        QVERIFY(waitUntil([&] { return !update.status().isEmpty(); }));
        qint64 signalledAt = -1;
        QTimer watch;  // runs inside the download, as the window repaints
        connect(&watch, &QTimer::timeout, this, [&] {
            if (signalledAt < 0 && run.statusLine().contains(u'%')) {
                signalledAt = run.services.clock.elapsed();
                ::kill(::getpid(), SIGTERM);
            }
        });
        watch.start(20);
        qobject_cast<QPushButton*>(update.control(u"Command1"_s).widget())->click();
        QVERIFY(waitUntil([&] { return run.services.downloadEndedAt >= 0; }));
        const bool quitSeen = quit::requested();
        quit::resetForTesting();
        QVERIFY(quitSeen);
        QVERIFY(signalledAt >= 0);
        const qint64 took = run.services.downloadEndedAt - signalledAt;
        qInfo("download ended %lld ms after SIGTERM", took);
        QVERIFY2(took <= 1000, qPrintable(QString::number(took)));
        QCOMPARE(run.services.endedWith, -1);
        QVERIFY(run.services.log.filter(u"start "_s).isEmpty());
        QVERIFY(QDir(run.services.programFolder()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }

private:
    QTemporaryDir storage_;
    std::unique_ptr<BrowserProfile> profile_;
};

}  // namespace tivora

TIVORA_WEBENGINE_TEST_MAIN(tivora::TestUpdateFlow)
#include "tst_updateflow.moc"
