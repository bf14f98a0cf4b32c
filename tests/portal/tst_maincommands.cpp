// The main window's pictures, search box, menu items and new-window switching, through MainWindow's
// handlers with fake panes.
#include "app/MainMenu.h"
#include "app/MainWindow.h"
#include "forms/Control.h"
#include "portal/MainMenuItems.h"
#include "portal/MainWindowControls.h"
#include "support/TestWindows.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using tivora::test::FakeBrowserPane;
using tivora::test::FakeServices;

namespace tivora {
namespace {

const QString kBase = u"http://vod.example.com"_s;
const QString kFilmPage = kBase + u"/vrtata.asp?id=1234&from=list"_s;
const QString kPlayPage = kBase + u"/play/?1234-0-0.html"_s;
const QString kBlank = u"about:blank"_s;
const QString kNoFilm = u"请先选择您要观看的影片"_s;
const QStringList kToggled{u"Framenr"_s,  u"Image21"_s, u"Image22"_s, u"Image23"_s,
                           u"Image24"_s,  u"Image25"_s, u"Image26"_s, u"Frameleft"_s,
                           u"Picture3"_s, u"Image5"_s,  u"Image7"_s,  u"Image9"_s};

struct MainWindowRun : test::TestWindows {
    MainWindowRun() : TestWindows(AppConfig{.portalRoot = kBase}) {
        forms.form(FormId::Main).show();
        services.log.clear();
    }
    MainWindow& form() { return forms.mainWindow(); }
    FakeBrowserPane& pane(const QString& name) { return *services.pane(name, u"Tivora"_s); }
    // Puts a pane on a page without going through a command.
    void place(const QString& name, const QString& address) {
        pane(name).navigate(address);
        services.log.clear();
    }
    void trigger(const QString& name) {
        if (name.startsWith(u"Image"_s)) {
            click(form(), name);
        } else {
            form().mainMenu()->item(name)->trigger();
        }
    }
    QStringList visibleToggles() {
        QStringList visible;
        for (const QString& name : kToggled) {
            if (form().control(name).visible()) {
                visible << name;
            }
        }
        return visible;
    }
};

QString nav(const QString& pane, const QString& address) {
    return u"navigate Tivora/%1 %2"_s.arg(pane, address);
}

QString msg(const QString& text) {
    return u"message "_s + text;
}

enum class Start { Fresh, FilmSelected, FilmPlaying, BackInHall, LiveInContent };

}  // namespace

class TestMainCommands final : public QObject {
    Q_OBJECT

    static void prepare(MainWindowRun& w, Start start) {
        if (start == Start::Fresh) {
            return;
        }
        w.place(u"WebBrowser3"_s, start == Start::LiveInContent ? kBase + u"/tv"_s : kFilmPage);
        w.pane(u"WebBrowser3"_s).setTitle(u"星空 & 大海"_s);
        w.pane(u"WebBrowser1"_s).requestNewWindow();  // the content pane opens
        if (start == Start::FilmPlaying || start == Start::BackInHall) {
            w.trigger(u"Image21"_s);
        }
        if (start == Start::BackInHall) {
            w.trigger(u"Image17"_s);
        }
        w.services.log.clear();
        w.services.messages.clear();
    }

private Q_SLOTS:
    void command_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<QStringList>("visible");

        const auto fresh = static_cast<int>(Start::Fresh);
        const auto film = static_cast<int>(Start::FilmSelected);
        const auto playing = static_cast<int>(Start::FilmPlaying);
        const auto hall = static_cast<int>(Start::BackInHall);
        const auto live = static_cast<int>(Start::LiveInContent);
        const QStringList content{u"Framenr"_s, u"Image21"_s, u"Image22"_s, u"Image23"_s,
                                  u"Image24"_s, u"Image25"_s, u"Image26"_s};
        const QStringList full{u"Frameleft"_s, u"Picture3"_s};
        const QStringList listTab{u"Image5"_s};
        const QStringList favTab{u"Image7"_s};

        QTest::newRow("online on demand")
            << fresh << u"Image27"_s << QStringList{msg(u"请在右边的电影列表选择电影！"_s)}
            << listTab;
        QTest::newRow("tv live") << fresh << u"Image28"_s
                                 << QStringList{nav(u"WebBrowser3"_s, kBase + u"/tv"_s)}
                                 << content + listTab;
        QTest::newRow("favourites tab")
            << fresh << u"Image6"_s << QStringList{nav(u"WebBrowser1"_s, kBase + u"/scj.asp"_s)}
            << favTab;
        QTest::newRow("film list tab")
            << fresh << u"Image4"_s << QStringList{nav(u"WebBrowser1"_s, kBase + u"/ty_00.html"_s)}
            << listTab;
        QTest::newRow("play without film")
            << fresh << u"Image21"_s << QStringList{msg(kNoFilm)} << listTab;
        QTest::newRow("play on the live page")
            << live << u"Image21"_s << QStringList{msg(kNoFilm)} << content + listTab;
        QTest::newRow("play") << film << u"Image21"_s
                              << QStringList{nav(u"WebBrowser2"_s, kPlayPage)}
                              << content + full + listTab;
        QTest::newRow("play from the menu")
            << film << u"bf1"_s << QStringList{nav(u"WebBrowser2"_s, kPlayPage)}
            << content + full + listTab;
        const QString favourite =
            kBase + u"/scj.asp?scid=1234&scna=%E6%98%9F%E7%A9%BA%20%26%20%E5%A4%A7%E6%B5%B7"_s;
        for (const char* trigger : {"Image22", "Image14", "scj2"}) {
            QTest::newRow(qPrintable(u"add to favourites "_s + QString::fromLatin1(trigger)))
                << film << QString::fromLatin1(trigger)
                << QStringList{nav(u"WebBrowser1"_s, favourite)} << content + favTab;
        }
        QTest::newRow("add to favourites without film")
            << fresh << u"Image22"_s << QStringList{msg(kNoFilm)} << listTab;
        for (const char* trigger : {"Image23", "bf2", "dh2"}) {
            QTest::newRow(
                qPrintable(u"now playing after back to hall "_s + QString::fromLatin1(trigger)))
                << hall << QString::fromLatin1(trigger) << QStringList{}
                << content + full + listTab;
        }
        QTest::newRow("now playing with nothing loaded")
            << film << u"Image23"_s << QStringList{msg(u"您没有正在播放的电影"_s)}
            << content + listTab;
        QTest::newRow("stop playing")
            << playing << u"Image24"_s << QStringList{nav(u"WebBrowser2"_s, kBlank)}
            << content + full + listTab;
        QTest::newRow("recently played")
            << film << u"Image25"_s << QStringList{nav(u"WebBrowser3"_s, kBase + u"/vrzjbf.asp"_s)}
            << content + listTab;
        QTest::newRow("live broadcast")
            << hall << u"Image26"_s
            << QStringList{nav(u"WebBrowser3"_s, kBase + u"/tv"_s), nav(u"WebBrowser2"_s, kBlank)}
            << content + listTab;
        QTest::newRow("live from the control bar")
            << playing << u"Image15"_s
            << QStringList{nav(u"WebBrowser2"_s, kBlank), nav(u"WebBrowser3"_s, kBase + u"/tv"_s)}
            << content + listTab;
        for (const char* trigger : {"Image16", "bf3"}) {
            QTest::newRow(
                qPrintable(u"stop from the control bar "_s + QString::fromLatin1(trigger)))
                << playing << QString::fromLatin1(trigger)
                << QStringList{nav(u"WebBrowser2"_s, kBlank)} << content + listTab;
        }
        QTest::newRow("favourites list from the menu")
            << playing << u"scj1"_s << QStringList{nav(u"WebBrowser1"_s, kBase + u"/scj.asp"_s)}
            << content + favTab;
        QTest::newRow("live tv from the menu")
            << playing << u"zb1"_s
            << QStringList{nav(u"WebBrowser2"_s, kBlank), nav(u"WebBrowser3"_s, kBase + u"/tv"_s)}
            << content + listTab;
        QTest::newRow("live tv from the menu opens the content pane")
            << fresh << u"zb1"_s
            << QStringList{nav(u"WebBrowser2"_s, kBlank), nav(u"WebBrowser3"_s, kBase + u"/tv"_s)}
            << content + listTab;
        QTest::newRow("recently played from the menu")
            << playing << u"bf4"_s << QStringList{nav(u"WebBrowser3"_s, kBase + u"/vrzjbf.asp"_s)}
            << content + listTab;
        QTest::newRow("full-screen hint")
            << playing << u"bf6"_s << QStringList{msg(u"双击播放窗口全屏播放！"_s)}
            << content + full + listTab;
        for (const char* trigger : {"Image17", "dh1"}) {
            QTest::newRow(qPrintable(u"back to the hall "_s + QString::fromLatin1(trigger)))
                << playing << QString::fromLatin1(trigger) << QStringList{} << content + listTab;
        }
    }

    void command() {
        QFETCH(int, start);
        QFETCH(QString, trigger);
        QFETCH(QStringList, log);
        QFETCH(QStringList, visible);
        MainWindowRun w;
        prepare(w, static_cast<Start>(start));
        w.trigger(trigger);
        QCOMPARE(w.services.log, log);
        QCOMPARE(w.visibleToggles(), visible);
        for (const test::RecordedMessage& message : w.services.messages) {
            QCOMPARE(message.style, 0);
            QCOMPARE(message.title, u"Tivora"_s);
        }
    }

    void filmPageThatFailedToLoadSelectsNothing() {
        MainWindowRun w;
        prepare(w, Start::FilmSelected);
        w.pane(u"WebBrowser3"_s).complete(u"<html></html>"_s, false);
        w.trigger(u"Image21"_s);
        w.trigger(u"Image22"_s);
        QCOMPARE(w.services.log, (QStringList{msg(kNoFilm), msg(kNoFilm)}));
        w.place(u"WebBrowser3"_s, kFilmPage);  // a new load: the film counts again
        w.trigger(u"Image21"_s);
        QCOMPARE(w.services.log, QStringList{nav(u"WebBrowser2"_s, kPlayPage)});
    }

    void nowPlayingShowsTheSamePageWithoutReloading() {
        MainWindowRun w;
        prepare(w, Start::BackInHall);
        w.trigger(u"Image23"_s);
        QCOMPARE(w.pane(u"WebBrowser2"_s).navigations().count(kPlayPage), 1);
        QCOMPARE(w.pane(u"WebBrowser2"_s).locationURL(), kPlayPage);
        // Stopped while hidden: now playing has nothing to show.
        w.trigger(u"Image17"_s);
        w.trigger(u"Image24"_s);
        w.trigger(u"Image23"_s);
        QCOMPARE(w.services.messages.back().prompt, u"您没有正在播放的电影"_s);
        QVERIFY(!w.form().control(u"Frameleft"_s).visible());
    }

    void search_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("address");  // empty: refused as too short
        const QString s = kBase + u"/search2010.asp?searchword="_s;
        for (const char* how : {"Image11", "Image8", "Enter"}) {
            const QString h = QString::fromLatin1(how);
            QTest::newRow(qPrintable(h + u" empty"_s)) << QString() << h << QString();
            QTest::newRow(qPrintable(h + u" one chinese character"_s)) << u"星"_s << h << QString();
            QTest::newRow(qPrintable(h + u" two chinese characters"_s))
                << u"星空"_s << h << s + u"%E6%98%9F%E7%A9%BA"_s;
        }
        QTest::newRow("one latin letter") << u"a"_s << u"Image11"_s << QString();
        QTest::newRow("two spaces") << u"  "_s << u"Image11"_s << s + u"%20%20"_s;
        QTest::newRow("reserved characters")
            << u"a&b=c#d+e"_s << u"Image11"_s << s + u"a%26b%3Dc%23d%2Be"_s;
        QTest::newRow("the prompt itself")
            << u"请输入影片名或演员名"_s << u"Image8"_s
            << s + QString::fromLatin1(QUrl::toPercentEncoding(u"请输入影片名或演员名"_s));
        QTest::newRow("emoji counts in utf-16 units")
            << u"🎬"_s << u"Image11"_s << s + u"%F0%9F%8E%AC"_s;
    }

    void search() {
        QFETCH(QString, text);
        QFETCH(QString, how);
        QFETCH(QString, address);
        MainWindowRun w;
        Control& box = w.form().control(u"Text1"_s);
        box.setCaption(text);
        if (how == u"Enter"_s) {
            QTest::keyClick(box.widget(), Qt::Key_Return);
        } else {
            w.trigger(how);
        }
        if (address.isEmpty()) {
            QCOMPARE(w.services.log, QStringList{msg(u"搜索关键字过短，最小输入两个关键字"_s)});
            QCOMPARE(w.visibleToggles(), QStringList{u"Image5"_s});
            QCOMPARE(box.caption(), text);
        } else {
            QCOMPARE(w.services.log, QStringList{nav(u"WebBrowser1"_s, address)});
            QCOMPARE(w.visibleToggles(), QStringList{u"Image9"_s});
        }
    }

    void clickIntoSearchBoxClearsItEveryTime() {
        MainWindowRun w;
        Control& box = w.form().control(u"Text1"_s);
        QCOMPARE(box.caption(), u"请输入影片名或演员名"_s);
        QTest::mouseClick(box.widget(), Qt::LeftButton);
        QCOMPARE(box.caption(), QString());
        QTest::keyClicks(box.widget(), u"Lily"_s);
        QCOMPARE(box.caption(), u"Lily"_s);
        QTest::mouseClick(box.widget(), Qt::LeftButton);
        QCOMPARE(box.caption(), QString());
        w.trigger(u"Image8"_s);  // the search tab runs a new search with the emptied box
        QCOMPARE(w.services.messages.size(), 1);
    }

    void newWindowsGoDownThePaneChain() {
        MainWindowRun w;
        NewWindowRequest fromList = w.pane(u"WebBrowser1"_s).requestNewWindow();
        QCOMPARE(fromList.ppDisp, &w.pane(u"WebBrowser3"_s));
        QVERIFY(!fromList.cancel);
        QCOMPARE(w.visibleToggles(),
                 (QStringList{u"Framenr"_s, u"Image21"_s, u"Image22"_s, u"Image23"_s, u"Image24"_s,
                              u"Image25"_s, u"Image26"_s, u"Image5"_s}));
        // A second film from the list reuses the content pane and changes nothing else.
        QCOMPARE(w.pane(u"WebBrowser1"_s).requestNewWindow().ppDisp, &w.pane(u"WebBrowser3"_s));

        NewWindowRequest fromContent = w.pane(u"WebBrowser3"_s).requestNewWindow();
        QCOMPARE(fromContent.ppDisp, &w.pane(u"WebBrowser2"_s));
        QVERIFY(w.form().control(u"Frameleft"_s).visible());
        QVERIFY(w.form().control(u"Picture3"_s).visible());

        // The full-window pane's own new windows are not redirected.
        NewWindowRequest fromFull = w.pane(u"WebBrowser2"_s).requestNewWindow();
        QCOMPARE(fromFull.ppDisp, nullptr);
        QVERIFY(w.services.log.isEmpty());
    }

    void listReportsAfterThePortalAnswered_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<LoadOutcome>("outcome");
        QTest::addColumn<QString>("message");
        QTest::newRow("clear, answered") << u"scj3"_s << LoadOutcome::Succeeded << u"清空成功！"_s;
        QTest::newRow("clear, unreachable") << u"scj3"_s << LoadOutcome::Unreachable
                                            << u"清空收藏夹失败：无法连接服务器，请稍后重试。"_s;
        QTest::newRow("clear, HTTP error") << u"scj3"_s << LoadOutcome::HttpError
                                           << u"清空收藏夹失败：服务器返回错误，请稍后重试。"_s;
        QTest::newRow("refresh, answered")
            << u"dh3"_s << LoadOutcome::Succeeded << u"电影列表数据刷新成功！"_s;
        QTest::newRow("refresh, unreachable")
            << u"dh3"_s << LoadOutcome::Unreachable
            << u"电影列表数据刷新失败：无法连接服务器，请稍后重试。"_s;
        QTest::newRow("refresh, HTTP error")
            << u"dh3"_s << LoadOutcome::HttpError
            << u"电影列表数据刷新失败：服务器返回错误，请稍后重试。"_s;
        QTest::newRow("refresh, page stopped")
            << u"dh3"_s << LoadOutcome::Stopped
            << u"电影列表数据刷新失败：页面已停止响应，请稍后重试。"_s;
        QTest::newRow("refresh, a download")
            << u"dh3"_s << LoadOutcome::NotAPage
            << u"电影列表数据刷新失败：服务器返回错误，请稍后重试。"_s;
    }

    void listReportsAfterThePortalAnswered() {
        QFETCH(QString, item);
        QFETCH(LoadOutcome, outcome);
        QFETCH(QString, message);
        MainWindowRun w;
        w.trigger(u"Image6"_s);  // favourites tab in force; a refresh keeps it
        w.services.log.clear();
        FakeBrowserPane& list = w.pane(u"WebBrowser1"_s);
        const quint64 earlier = list.lastNavigation();
        w.trigger(item);
        QVERIFY(w.services.messages.isEmpty());  // nothing said before the portal answers
        if (item == u"scj3"_s) {
            QCOMPARE(w.services.log,
                     QStringList{nav(u"WebBrowser1"_s, kBase + u"/scj.asp?dl=dl"_s)});
        } else {
            QCOMPARE(list.refreshCount(), 1);
        }
        QCOMPARE(w.visibleToggles(), QStringList{u"Image7"_s});
        // The page of an earlier navigation still arriving is not the answer.
        list.complete(u"<html></html>"_s, LoadOutcome::Succeeded, earlier);
        QVERIFY(w.services.messages.isEmpty());
        list.complete(u"<html></html>"_s, outcome, list.lastNavigation());
        QCOMPARE(w.services.messages.size(), 1);
        QCOMPARE(w.services.messages.front().prompt, message);
        list.complete(u"<html></html>"_s, outcome, list.lastNavigation());  // later loads: nothing
        QCOMPARE(w.services.messages.size(), 1);
    }

    void downloadListStartsThePlayerBesideTheProgram_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("started");
        QTest::addColumn<QString>("message");
        const QString missing = u"您还没安装QVOD或者路径有错！"_s;
        QTest::newRow("missing") << u"missing"_s << false << missing;
        QTest::newRow("a folder of that name") << u"folder"_s << false << missing;
        QTest::newRow("not executable") << u"plain"_s << false << missing;
        QTest::newRow("executable") << u"executable"_s << true << QString();
        QTest::newRow("executable that fails to start")
            << u"broken"_s << true << u"无法启动QVOD播放器，请检查该程序是否完好。"_s;
    }

    void downloadListStartsThePlayerBesideTheProgram() {
        QFETCH(QString, kind);
        QFETCH(bool, started);
        QFETCH(QString, message);
        MainWindowRun w;
        const QString path = w.services.programFolder() + u"/QvodPlayer"_s;
        if (kind == u"folder"_s) {
            QVERIFY(QDir().mkpath(path));
        } else if (kind != u"missing"_s) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("#!/bin/sh\n");
            file.close();
            if (kind != u"plain"_s) {
                file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
            }
        }
        if (kind == u"broken"_s) {
            w.services.failingPrograms << path;
        }
        w.trigger(u"bf5"_s);
        QCOMPARE(w.services.log.contains(u"start %1  style 1"_s.arg(path)), started);
        QCOMPARE(w.services.messages.isEmpty(), message.isEmpty());
        if (!message.isEmpty()) {
            QCOMPARE(w.services.messages.front().prompt, message);
        }
    }

    void screenStaysAwakeWhileThePlayPageIsShown() {
        MainWindowRun w;
        w.place(u"WebBrowser3"_s, kFilmPage);
        w.trigger(u"Image21"_s);  // play
        QCOMPARE(w.services.awake.size(), 1);
        w.trigger(u"Image17"_s);  // back to the hall
        QVERIFY(w.services.awake.isEmpty());
        w.place(u"WebBrowser2"_s, kPlayPage);
        w.trigger(u"dh2"_s);  // play centre
        QCOMPARE(w.services.awake.size(), 1);
        w.trigger(u"bf3"_s);  // stop
        QVERIFY(w.services.awake.isEmpty());
    }

    void volumeControlStartsTheFirstMixerFound_data() {
        QTest::addColumn<QStringList>("found");   // mixers on the search path
        QTest::addColumn<QStringList>("broken");  // of those, the ones failing to start
        QTest::addColumn<QString>("started");
        QTest::newRow("none") << QStringList{} << QStringList{} << QString();
        QTest::newRow("pavucontrol")
            << QStringList{u"pavucontrol"_s, u"kmix"_s} << QStringList{} << u"pavucontrol"_s;
        QTest::newRow("a later one") << QStringList{u"kmix"_s} << QStringList{} << u"kmix"_s;
        QTest::newRow("first fails, next starts") << QStringList{u"pavucontrol"_s, u"kmix"_s}
                                                  << QStringList{u"pavucontrol"_s} << u"kmix"_s;
        QTest::newRow("only one, failing")
            << QStringList{u"kmix"_s} << QStringList{u"kmix"_s} << QString();
    }

    void volumeControlStartsTheFirstMixerFound() {
        QFETCH(QStringList, found);
        QFETCH(QStringList, broken);
        QFETCH(QString, started);
        MainWindowRun w;
        for (const QString& mixer : found) {
            w.services.executables.insert(mixer, u"/usr/bin/"_s + mixer);
        }
        for (const QString& mixer : broken) {
            w.services.failingPrograms << u"/usr/bin/"_s + mixer;
        }
        w.trigger(u"bf7"_s);
        if (started.isEmpty()) {
            QCOMPARE(w.services.messages.size(), 1);
            QCOMPARE(w.services.messages.front().prompt,
                     u"无法打开音量控制：本机没有找到可用的音量控制程序。"_s);
        } else {
            QVERIFY(w.services.messages.isEmpty());
            QVERIFY(w.services.log.last().startsWith(u"start /usr/bin/"_s + started));
        }
    }

    void officialWebSiteOpensInTheDefaultBrowser() {
        FakeServices services;
        Forms forms(services,
                    AppConfig{.portalRoot = kBase, .siteRoot = u"http://maker.example.com"_s});
        auto& main = forms.mainWindow();
        main.show();
        main.mainMenu()->item(u"gy3"_s)->trigger();
        QCOMPARE(services.log.last(), u"open http://maker.example.com"_s);
        services.openUrlFails = true;
        main.mainMenu()->item(u"gy3"_s)->trigger();
        QCOMPARE(services.messages.size(), 1);
        QCOMPARE(services.messages.front().prompt,
                 u"无法打开官方网站，请检查系统的默认浏览器设置。"_s);
    }

    void quitAsksTheExitQuestion() {
        MainWindowRun w;
        w.trigger(u"endvr"_s);  // answered No
        QCOMPARE(w.services.messages.front().prompt, u"确定退出Tivora"_s);
        QVERIFY(w.form().isLoaded());
        QVERIFY(w.form().isVisible());
        w.services.answers = {MsgBox::AnswerYes};
        w.trigger(u"endvr"_s);
        QCOMPARE(w.services.endedWith, 0);
    }

    void bothMenuPicturesPopUpTheMenuAndEitherButtonChooses_data() {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<int>("button");
        QTest::newRow("side toolbar, left button") << u"Image3"_s << int(Qt::LeftButton);
        QTest::newRow("control bar, right button") << u"Image19"_s << int(Qt::RightButton);
    }

    void bothMenuPicturesPopUpTheMenuAndEitherButtonChooses() {
        QFETCH(QString, picture);
        QFETCH(int, button);
        MainWindowRun w;
        prepare(w, Start::FilmPlaying);
        QMenu* menu = w.form().mainMenu()->caidan();
        bool popped = false;
        QTimer::singleShot(50, menu, [&] {
            popped = menu->isVisible();
            QAction* quit = w.form().mainMenu()->item(u"endvr"_s);
            QTest::mouseClick(menu, static_cast<Qt::MouseButton>(button), {},
                              menu->actionGeometry(quit).center());
            menu->close();  // in case the click was not taken
        });
        w.trigger(picture);  // returns when the menu closes
        QVERIFY(popped);
        QCOMPARE(w.services.messages.size(), 1);
        QCOMPARE(w.services.messages.front().prompt, u"确定退出Tivora"_s);
    }

    void menuTreeCaptionsAndShortcuts() {
        MainWindowRun w;
        QMenu* caidan = w.form().mainMenu()->caidan();
        QCOMPARE(caidan->title(), u"菜单"_s);
        QStringList top;
        for (QAction* action : caidan->actions()) {
            top << action->objectName() + u'=' + action->text();
        }
        QCOMPARE(top, (QStringList{u"dakai=打开"_s, u"sc=收藏"_s, u"fa=播放"_s, u"dh=导航"_s,
                                   u"guanyu=关于"_s, u"endvr=退出点播"_s}));
        const QStringList withKeys{u"scj2=F4"_s, u"bf5=F6"_s, u"dh1=F2"_s,
                                   u"dh2=F3"_s,  u"dh3=F5"_s, u"gy1=F1"_s};
        QStringList found;
        for (QAction* action : caidan->findChildren<QAction*>()) {
            if (!action->shortcut().isEmpty()) {
                found << action->objectName() + u'=' + action->shortcut().toString();
            }
        }
        found.sort();
        QStringList expected = withKeys;
        expected.sort();
        QCOMPARE(found, expected);
        QCOMPARE(w.form().mainMenu()->item(u"bf7"_s)->text(), u"音量控制"_s);
        QCOMPARE(w.form().mainMenu()->item(u"fa"_s)->menu()->actions().size(), 8);
    }

    void shortcutKeysActWhileThePopupIsClosed() {
        MainWindowRun w;
        prepare(w, Start::FilmPlaying);
        w.form().window()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.form().window()));
        QTest::keyClick(w.form().window(), Qt::Key_F2);  // film hall: leave the full window
        QVERIFY(!w.form().control(u"Frameleft"_s).visible());
        QTest::keyClick(w.form().window(), Qt::Key_F3);  // play centre: back to the film
        QVERIFY(w.form().control(u"Frameleft"_s).visible());
    }
};

}  // namespace tivora

QTEST_MAIN(tivora::TestMainCommands)
#include "tst_maincommands.moc"
