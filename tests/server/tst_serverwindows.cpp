// The server-connection, update, help and about windows through their handlers with fakes.
#include "forms/Control.h"
#include "forms/ControlWidgets.h"
#include "server/ServerWindowControls.h"
#include "server/UpdateWindow.h"
#include "support/TestWindows.h"
#include "support/WindowProbes.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;
using tivora::test::FakeBrowserPane;

namespace tivora {
namespace {

const QString kRoot = u"http://vod.example.com"_s;

struct Windows : test::TestWindows {
    Windows()
        : TestWindows(AppConfig{.portalRoot = kRoot,
                                .siteRoot = u"http://maker.example.com"_s,
                                .adminQQ = u"800012345"_s,
                                .groupQQ1 = u"100200300"_s,
                                .groupQQ2 = u"100200301"_s}) {}
    UpdateWindow& update() { return forms.updateWindow(); }
    FakeBrowserPane& checkPane(const QString& window) {
        return pane(server_window::kCheckPane, window);
    }
};

const QString kFailed =
    u"服务器连接失败，管理员QQ：800012345 QQ群：100200300 100200301，需要重试吗？"_s;

}  // namespace

class TestServerWindows final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void serverCheck_data() {
        QTest::addColumn<QString>("markup");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QStringList>("questions");
        QTest::addColumn<bool>("stillLoaded");
        QTest::addColumn<bool>("updateShown");
        const int yes = MsgBox::AnswerYes;
        const int no = MsgBox::AnswerNo;
        const QString offer = u"发现有更新，需要更新吗？"_s;
        QTest::newRow("current: closes silently")
            << u"<p>qor v10</p>"_s << QList<int>{} << QStringList{} << false << false;
        QTest::newRow("newer, accepted")
            << u"qor qor13=12"_s << QList<int>{yes} << QStringList{offer} << false << true;
        QTest::newRow("newer, declined")
            << u"qor13=12 qor"_s << QList<int>{no} << QStringList{offer} << false << false;
        QTest::newRow("no answer even with v10")
            << u"v10 only"_s << QList<int>{no} << QStringList{kFailed} << false << false;
        QTest::newRow("no answer, retried")
            << u"<html></html>"_s << QList<int>{yes} << QStringList{kFailed} << true << false;
        QTest::newRow("markers in capitals")
            << u"QOR V10"_s << QList<int>{no} << QStringList{kFailed} << false << false;
        QTest::newRow("binary junk") << QString::fromLatin1("\x01\xff\xfeqo\x00r", 7)
                                     << QList<int>{no} << QStringList{kFailed} << false << false;
        QTest::newRow("megabytes, marker at the end")
            << QString(4 * 1024 * 1024, u'x') + u"qor"_s << QList<int>{no} << QStringList{offer}
            << false << false;
    }

    void serverCheck() {
        QFETCH(QString, markup);
        QFETCH(QList<int>, answers);
        QFETCH(QStringList, questions);
        QFETCH(bool, stillLoaded);
        QFETCH(bool, updateShown);
        Windows w;
        Form& server = w.form(FormId::ServerConnection);
        server.show();
        QCOMPARE(w.checkPane(u"服务器连接"_s).navigations(), QStringList{kRoot + u"/vrpcs.asp"_s});
        w.services.answers = answers;
        w.checkPane(u"服务器连接"_s).complete(markup);
        QStringList asked;
        for (const auto& message : w.services.messages) {
            asked << message.prompt;
            QCOMPARE(message.style, 68);
            QCOMPARE(message.title, u"提示"_s);
        }
        QCOMPARE(asked, questions);
        QCOMPARE(server.isLoaded(), stillLoaded);
        QCOMPARE(w.forms.exists(FormId::Update) && w.form(FormId::Update).isVisible(), updateShown);
    }

    void retryReloadsTheCheckPageAnyNumberOfTimes() {
        Windows w;
        Form& server = w.form(FormId::ServerConnection);
        server.show();
        FakeBrowserPane& check = w.checkPane(u"服务器连接"_s);
        w.services.answers = {MsgBox::AnswerYes, MsgBox::AnswerYes, MsgBox::AnswerYes};
        for (int i = 0; i < 3; ++i) {
            check.complete(u"refused"_s);
        }
        QCOMPARE(check.navigations().size(), 4);
        QVERIFY(server.isLoaded());
        check.complete(u"qor v10"_s);  // the server came back
        QVERIFY(!server.isLoaded());
        QCOMPARE(w.services.messages.size(), 3);
    }

    void updateWindowShowsTheOfferedVersion_data() {
        QTest::addColumn<QString>("markup");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("status");
        QTest::newRow("1.2") << u"qor qor13=12"_s << u"当前版本为1.0版，最新版本为1.2版,需要更新"_s
                             << u"需要更新"_s;
        QTest::newRow("1.0") << u"qor v10 qor13=10"_s
                             << u"当前版本为1.0版，最新版本为1.0版,无需更新"_s << u"无需更新"_s;
    }

    void updateWindowShowsTheOfferedVersion() {
        QFETCH(QString, markup);
        QFETCH(QString, label);
        QFETCH(QString, status);
        Windows w;
        UpdateWindow& update = w.update();
        update.show();
        QCOMPARE(update.caption(), u"程序更新"_s);
        w.checkPane(u"程序更新"_s).complete(markup);
        const Control& line = update.control(u"Label1"_s);
        QCOMPARE(line.caption(), label);
        QCOMPARE(update.status(), status);
        QCOMPARE(update.pageText(), status == u"无需更新"_s ? u"10"_s : u"12"_s);
        QCOMPARE(line.left(), (update.width() - line.width()) / 2.0F);
        QVERIFY(w.services.messages.isEmpty());
    }

    void updateWindowWithoutAVersionSaysSoAndHides_data() {
        QTest::addColumn<QString>("markup");
        QTest::newRow("no qor") << u"<html>refused</html>"_s;
        QTest::newRow("qor without qor13") << u"qor v12"_s;
        QTest::newRow("qor13 malformed") << u"qor13=1x"_s;
        QTest::newRow("empty") << QString();
    }

    void updateWindowWithoutAVersionSaysSoAndHides() {
        QFETCH(QString, markup);
        Windows w;
        UpdateWindow& update = w.update();
        update.show();
        w.checkPane(u"程序更新"_s).complete(markup);
        QCOMPARE(w.services.messages.size(), 1);
        QCOMPARE(w.services.messages.front().prompt, u"连接更新服务器失败，请重试！"_s);
        QCOMPARE(w.services.messages.front().title, u"Tivora"_s);
        QVERIFY(!update.isVisible());
        QVERIFY(update.isLoaded());
        QCOMPARE(update.status(), QString());
    }

    void latestVersionOnlySaysSo() {
        Windows w;
        UpdateWindow& update = w.update();
        update.show();
        w.checkPane(u"程序更新"_s).complete(u"qor v10 qor13=10"_s);
        w.click(update, u"Command1"_s);
        QCOMPARE(w.services.messages.front().prompt, u"当前版本为最新版，无需更新！"_s);
        QVERIFY(!test::probe(update).timer1()->isActive());
    }

    void statusSurvivesUnloadAndCloseOnlyHides() {
        Windows w;
        UpdateWindow& update = w.update();
        update.show();
        w.checkPane(u"程序更新"_s).complete(u"qor qor13=10"_s);
        w.click(update, u"Command2"_s);  // 关闭 only hides
        QVERIFY(!update.isVisible());
        QVERIFY(update.isLoaded());
        update.show();
        QCOMPARE(update.control(u"Label1"_s).caption(),
                 u"当前版本为1.0版，最新版本为1.0版,无需更新"_s);
        update.window()->close();  // the close box unloads
        QVERIFY(!update.isLoaded());
        update.show();
        QCOMPARE(update.status(), u"无需更新"_s);
        QCOMPARE(update.control(u"Label1"_s).caption(), QString());
        w.click(update, u"Command1"_s);  // the kept status decides before any new check
        QCOMPARE(w.services.messages.back().prompt, u"当前版本为最新版，无需更新！"_s);
    }

    void download_data() {
        QTest::addColumn<bool>("downloads");
        QTest::addColumn<bool>("starts");
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("ended");
        QTest::newRow("whole, started") << true << true << u"更新包下载成功，请安装！"_s << 0;
        QTest::newRow("whole, cannot start")
            << true << false << u"更新包下载成功，请安装！"_s << -1;
        QTest::newRow("failed") << false << false
                                << u"更新包下载失败，请检查网络后点击“更新”重试。"_s << -1;
    }

    void download() {
        QFETCH(bool, downloads);
        QFETCH(bool, starts);
        QFETCH(QString, label);
        QFETCH(int, ended);
        Windows w;
        UpdateWindow& update = w.update();
        update.show();
        const QString target = w.services.programFolder() + u"/new.exe"_s;
        w.services.downloader = [&](const QString&, const QString& to) {
            // The user interface waits: no timer tick of this window comes in between.
            if (downloads) {
                QFile file(to);
                return file.open(QIODevice::WriteOnly) && file.write("#!/bin/sh\n") > 0;
            }
            return false;
        };
        if (!starts) {
            w.services.failingPrograms << target;
        }
        // "更新" before any check starts the download.
        w.click(update, u"Command1"_s);
        QCOMPARE(update.control(u"Label1"_s).caption(), u"正在下载更新包，请勿关闭此窗口！"_s);
        QVERIFY(test::probe(update).timer1()->isActive());
        QCOMPARE(test::probe(update).timer1()->interval(), 500);
        QTRY_VERIFY(!test::probe(update).timer1()->isActive());
        QCOMPARE(update.control(u"Label1"_s).caption(), label);
        QVERIFY(w.services.log.contains(u"download %1/new.swf -> %2"_s.arg(kRoot, target)));
        QCOMPARE(w.services.endedWith, ended);
        if (downloads) {
            QVERIFY(QFileInfo(target).isExecutable());
            QVERIFY(w.services.log.contains(u"start %1  style 1"_s.arg(target)));
        }
        QCOMPARE(w.services.messages.isEmpty(), starts || !downloads);
        if (!downloads) {
            w.click(update, u"Command1"_s);  // a further click visibly retries
            QCOMPARE(update.control(u"Label1"_s).caption(), u"正在下载更新包，请勿关闭此窗口！"_s);
            QTRY_VERIFY(!test::probe(update).timer1()->isActive());
            QCOMPARE(w.services.log.filter(u"download "_s).size(), 2);
        }
    }

    void installerGoesToTheDataFolderWhenTheProgramFolderIsReadOnly() {
        QStandardPaths::setTestModeEnabled(true);
        Windows w;
        w.services.programFolderPath = u"/proc"_s;  // not writable, even as root
        const QString target = w.update().installerTarget();
        QVERIFY(
            target.startsWith(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)));
        QVERIFY(target.endsWith(u"/new.exe"_s));
    }

    void helpWindowFollowsTheWindowSize() {
        Windows w;
        Form& help = w.form(FormId::Help);
        help.show();
        QCOMPARE(help.caption(), u"使用帮助"_s);
        FakeBrowserPane& pane = *w.services.pane(u"WebBrowser1"_s, u"使用帮助"_s);
        QCOMPARE(pane.navigations(), QStringList{u"http://maker.example.com/vrdl3.html"_s});
        for (const QSize size : {QSize(500, 300), QSize(1200, 900), QSize(120, 80)}) {
            help.window()->resize(size);
            QTRY_COMPARE(help.control(u"WebBrowser1"_s).width(), help.width());
            QCOMPARE(help.control(u"WebBrowser1"_s).height(), help.height());
            QCOMPARE(help.control(u"WebBrowser1"_s).left(), 0.0F);
        }
        // The close box unloads; the next show loads the page and the skin again.
        help.window()->close();
        QVERIFY(!help.isLoaded());
        const qsizetype skins = w.services.log.filter(u"skin "_s).size();
        help.show();
        QCOMPARE(w.services.log.filter(u"skin "_s).size(), skins + 1);
        QCOMPARE(w.services.pane(u"WebBrowser1"_s, u"使用帮助"_s)->navigations().size(), 1);
    }

    void aboutWindowIsExactlyItsPicture() {
        Windows w;
        Form& about = w.form(FormId::About);
        about.show();
        QCOMPARE(about.window()->frameGeometry().size(), QSize(400, 160));
        // The task bar shows what the window is; its design name stays data.
        QCOMPARE(about.window()->windowTitle(), u"关于 Tivora"_s);
        QCOMPARE(about.designName(), u"Form2"_s);
        QCOMPARE(about.control(u"Label1"_s).caption(), u"关于程序"_s);
        QCOMPARE(about.control(u"Label3"_s).caption(), u"Tivora V1.0"_s);
        QCOMPARE(about.control(u"Label4"_s).caption(), u"确定"_s);
        QVERIFY(w.services.log.filter(u"skin "_s).isEmpty());  // no skin for this one
        Q_EMIT qobject_cast<ClickableLabel*>(about.control(u"Label4"_s).widget())
            ->clicked(Qt::LeftButton);
        QVERIFY(!about.isVisible());
        QVERIFY(about.isLoaded());
        QPointer<QWidget> window = about.window();
        about.show();
        QCOMPARE(about.window(), window.data());  // shown again, not loaded again
    }
};

}  // namespace tivora

QTEST_MAIN(tivora::TestServerWindows)
#include "tst_serverwindows.moc"
