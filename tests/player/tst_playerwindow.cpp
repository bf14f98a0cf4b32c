// The local player window through its handlers, offscreen, with a fake player and file dialog.
#include "app/MainMenu.h"
#include "app/MainWindow.h"
#include "codepage/AnsiCodec.h"
#include "forms/Control.h"
#include "forms/ControlWidgets.h"
#include "forms/FileDialog.h"
#include "forms/Folders.h"
#include "forms/LocalPath.h"
#include "playback/PlaybackTime.h"
#include "playback/PlayerActions.h"
#include "playback/PlayerBar.h"
#include "playback/PlayerSurface.h"
#include "player/FileListBox.h"
#include "player/LocalFiles.h"
#include "player/PlayerPreferences.h"
#include "player/PlayerWindow.h"
#include "player/PlayerWindowControls.h"
#include "player/RecentFiles.h"
#include "player/ResumeStore.h"
#include "support/TestWindows.h"
#include "support/WindowProbes.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <filesystem>
#include <memory>

#include <fcntl.h>
#include <unistd.h>

#include <random>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

constexpr int kBound = 5000;
const QString kCaption = u"播放本地文件"_s;
const QString kListHidden = u"列表已经隐藏，改变窗口大小显示列表"_s;

// The fake player's own lines (the log may name folders that hold "player").
QStringList playerCalls(const QStringList& log) {
    QStringList calls;
    for (const QString& line : log) {
        if (line.startsWith(u"player "_s)) {
            calls << line;
        }
    }
    return calls;
}

QString source(const QString& path) {
    return u"player source "_s + path;
}

const QString kStop = u"player stop"_s;
const QString kPlay = u"player play"_s;

void touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QStringList rows(const FileListBox& list) {
    QStringList names;
    for (int row = 0; row < list.listCount(); ++row) {
        names << list.list(row);
    }
    return names;
}

// The program's windows with fakes; the dialog answers from a queue (empty: cancelled).
struct Windows : test::TestWindows {
    // freshPositions false: a later run, with what the earlier ones remembered.
    explicit Windows(bool freshPositions = true)
        : TestWindows(AppConfig{.portalRoot = u"http://vod.example.com"_s}) {
        if (freshPositions) {
            QFile::remove(ResumeStore().file());
        }
        services.fileChooser = [this] {
            ++dialogs;
            return choices.isEmpty() ? QString() : choices.takeFirst();
        };
    }

    PlayerWindow& player() { return forms.playerWindow(); }
    Form& main() { return forms.form(FormId::Main); }
    Control& control(const QString& name) { return player().control(name); }
    FileListBox& list() { return *test::probe(player()).fileList(); }
    [[nodiscard]] QString dataTxt() const { return services.programFolderPath + u"/data.txt"_s; }

    // Shows the player and lets its automatic open run now rather than in a second.
    void open() {
        const int before = dialogs;
        player().show();
        QVERIFY(QTest::qWaitForWindowExposed(player().window()));
        test::probe(player()).timer1()->setInterval(0);
        QTRY_COMPARE_WITH_TIMEOUT(dialogs, before + 1, kBound);
        QVERIFY(!test::probe(player()).timer1()->isActive());
        opened = playerCalls(services.log);
        services.log.clear();
    }
    void close() { player().window()->close(); }
    void clickButton(const QString& name) { click(player(), name); }
    [[nodiscard]] QPoint rowCentre(int row) {
        return list().visualItemRect(list().item(row)).center();
    }
    void clickRow(int row) {
        QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, rowCentre(row));
    }
    void doubleClickRow(int row) {
        QWidget* window = player().window();
        QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, {},
                           list().viewport()->mapTo(window, rowCentre(row)));
    }
    int rowOf(const QString& name) { return rows(list()).indexOf(name); }

    QStringList choices;
    int dialogs = 0;
    // What the player was told during the automatic open.
    QStringList opened;
};

}  // namespace

class TestPlayerWindow final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(media_.isValid());
        for (const QString& name :
             {u"ab01.rmvb"_s, u"ab02.rm"_s, u"AB03.RMVB"_s, u"ab04.txt"_s, u"xy01.rmvb"_s}) {
            touch(media_.filePath(name));
        }
        touch(other_.filePath(u"ab01.rmvb"_s));
        touch(other_.filePath(u"ab09.rmvb"_s));
        touch(other_.filePath(u"cd01.rm"_s));
    }

    void init() {
        const QString fallback = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QFile::remove(fallback + u"/data.txt"_s);
        QFile::remove(fallback + u"/player.ini"_s);
        QFile::remove(fallback + u"/recent.json"_s);
    }

    void windowAtDesign() {
        Windows w;
        PlayerWindow& player = w.player();
        player.show();
        QVERIFY(QTest::qWaitForWindowExposed(player.window()));
        QCOMPARE(player.caption(), kCaption);
        QVERIFY(!player.window()->windowIcon().isNull());
        // Sizable: no fixed size.
        QVERIFY(player.window()->minimumSize() != player.window()->maximumSize());
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        // Centred by its client area; the frame adds a few pixels.
        QVERIFY((player.window()->frameGeometry().center() - area.center()).manhattanLength() < 30);
        // The control is the player's face: its video with the control bar below.
        QCOMPARE(w.control(u"QvodCtrl1"_s).widget(), test::probe(player).playerSurface());
        QVERIFY(test::probe(player).playerSurface()->isAncestorOf(
            test::probe(player).player()->widget()));
        QVERIFY(test::probe(player).playerSurface()->isAncestorOf(
            test::probe(player).playerSurface()->bar()));
        QCOMPARE(w.control(u"QvodCtrl1"_s).left(), 0.0F);
        QCOMPARE(w.control(u"QvodCtrl1"_s).top(), 0.0F);
        QCOMPARE(w.control(u"Frame1"_s).width(), 2415.0F);
        QCOMPARE(w.control(u"File1"_s).widget()->parentWidget(), w.control(u"Frame1"_s).widget());
        QCOMPARE(w.control(u"Command1"_s).caption(), u"打开文件"_s);
        QCOMPARE(w.control(u"Command2"_s).caption(), u"隐藏列表"_s);
        QCOMPARE(w.control(u"Command2"_s).left(), 1200.0F);
        QCOMPARE(w.control(u"Command1"_s).height(), 495.0F);
        QVERIFY(!w.control(u"Picture1"_s).visible());
        QCOMPARE(w.control(u"Picture1"_s).height(), 440.0F);
        QCOMPARE(w.control(u"Label1"_s).caption(), u"Label1"_s);
        QCOMPARE(w.control(u"Label1"_s).top(), 120.0F);
        const QFont font = w.list().font();
        QCOMPARE(font.family(), u"宋体"_s);
        QCOMPARE(font.pointSizeF(), 10.5);
        QCOMPARE(w.list().palette().color(QPalette::Text), QColor(64, 64, 64));
        QCOMPARE(w.list().palette().color(QPalette::Base), QColor(Qt::white));
        QVERIFY(w.list().uniformItemSizes());
        QCOMPARE(test::probe(player).timer1()->interval(), 1000);
        QVERIFY(test::probe(player).timer1()->isActive());
        QCOMPARE(test::probe(player).timer2()->interval(), 2000);
        QVERIFY(!test::probe(player).timer2()->isActive());
        QCOMPARE(test::probe(player).fileDialog()->fileName(), QString());
        // The banner is drawn over the video.
        QWidget* video = w.control(u"QvodCtrl1"_s).widget();
        QWidget* banner = w.control(u"Picture1"_s).widget();
        const QObjectList order = player.window()->children();
        QVERIFY(order.indexOf(banner) > order.indexOf(video));
        QVERIFY(
            w.services.log.contains(u"skin %1/skinh.she []"_s.arg(w.services.programFolderPath)));
    }

    void openedFromTheMainWindowAndBack_data() {
        QTest::addColumn<QString>("trigger");
        QTest::newRow("toolbar picture") << u"Image20"_s;
        QTest::newRow("menu item") << u"dakai"_s;
    }

    void openedFromTheMainWindowAndBack() {
        QFETCH(QString, trigger);
        Windows w;
        w.main().show();
        const auto open = [&] {
            if (trigger.startsWith(u"Image"_s)) {
                Q_EMIT qobject_cast<ClickableLabel*>(w.main().control(trigger).widget())
                    ->clicked(Qt::LeftButton);
            } else {
                w.forms.mainWindow().mainMenu()->item(trigger)->trigger();
            }
        };
        for (int round = 0; round < 2; ++round) {
            open();
            QVERIFY(w.player().isVisible());
            QVERIFY(!w.main().isVisible());
            w.close();
            QVERIFY(!w.player().isLoaded());
            QVERIFY(w.main().isVisible());
        }
        QVERIFY(w.services.messages.isEmpty());
    }

    void automaticOpenOncePerLoad() {
        Windows w;
        QElapsedTimer clock;
        clock.start();
        w.player().show();
        QTRY_COMPARE_WITH_TIMEOUT(w.dialogs, 1, kBound);
        QVERIFY2(clock.elapsed() >= 950, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(!test::probe(w.player()).timer1()->isActive());
        FileDialog& dialog = *test::probe(w.player()).fileDialog();
        QVERIFY(dialog.filter().startsWith(u"视频文件 (*.rm,*.rmvb)|*.rm;*.rmvb|所有视频文件 ("_s));
        QVERIFY(dialog.filter().endsWith(u"|所有文件 (*.*)|*.*"_s));
        QCOMPARE(dialog.initDir(), userVideosFolder());
        // Cancelled: nothing else happened.
        QCOMPARE(w.player().caption(), kCaption);
        QVERIFY(playerCalls(w.services.log).isEmpty());
        QVERIFY(!QFile::exists(w.dataTxt()));
        // The next load opens the dialog once more.
        w.close();
        w.open();
        QCOMPARE(w.dialogs, 2);
    }

    void chosenFileIsListedWithItsNamesakesAndRemembered_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QStringList>("others");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QByteArray>("settingsStart");
        QTest::newRow("ordinary") << u"m/ab01.rmvb"_s
                                  << QStringList{u"m/ab02.rm"_s, u"m/AB03.RMVB"_s, u"m/ab04.txt"_s,
                                                 u"m/xy.rmvb"_s}
                                  << u"*ab*rm*"_s
                                  << QStringList{u"ab01.rmvb"_s, u"ab02.rm"_s, u"AB03.RMVB"_s}
                                  << QByteArray("ab?");
        QTest::newRow("folder named like the file")
            << u"ab.rm/ab.rm"_s << QStringList{u"ab.rm/ab.rmx"_s} << u"*ab*rm*"_s
            << QStringList{u"ab.rm"_s, u"ab.rmx"_s} << QByteArray("ab?");
        QTest::newRow("mp4: namesakes among every video type")
            << u"m/ab01.mp4"_s
            << QStringList{u"m/ab02.MKV"_s, u"m/ab03.rmvb"_s, u"m/ab04.txt"_s, u"m/xy.mp4"_s}
            << localfiles::listPatternFor(u"ab"_s, u"x.mp4"_s)
            << QStringList{u"ab01.mp4"_s, u"ab02.MKV"_s, u"ab03.rmvb"_s} << QByteArray("ab?");
        QTest::newRow("one-character name") << u"m/a"_s << QStringList{u"m/bar.rm"_s} << u"*a*rm*"_s
                                            << QStringList{u"bar.rm"_s} << QByteArray("a?");
        QTest::newRow("chinese: gbk")
            << u"电影/第一集.rmvb"_s << QStringList{} << u"*第一*rm*"_s
            << QStringList{u"第一集.rmvb"_s} << QByteArray("\xB5\xDA\xD2\xBB?");
        QTest::newRow("arabic: utf-8 with mark")
            << u"ملف/فيلم.rm"_s << QStringList{} << u"*في*rm*"_s << QStringList{u"فيلم.rm"_s}
            << QByteArray("\xEF\xBB\xBF") + u"في?"_s.toUtf8();
        QTest::newRow("emoji: utf-8 with mark")
            << u"🎬 片/🎬x.rm"_s << QStringList{} << u"*🎬x*rm*"_s << QStringList{u"🎬x.rm"_s}
            << QByteArray("\xEF\xBB\xBF") + u"🎬x?"_s.toUtf8();
    }

    void chosenFileIsListedWithItsNamesakesAndRemembered() {
        QFETCH(QString, chosen);
        QFETCH(QStringList, others);
        QFETCH(QString, pattern);
        QFETCH(QStringList, rows);
        QFETCH(QByteArray, settingsStart);
        QTemporaryDir root;
        const QString path = root.filePath(chosen);
        const QString folder = QFileInfo(path).path() + u'/';
        for (const QString& file : others + QStringList{chosen}) {
            touch(root.filePath(file));
        }
        Windows w;
        w.choices << path;
        w.open();
        // The automatic open hands the file over without a stop.
        QCOMPARE(w.opened, (QStringList{source(path), kPlay}));
        QCOMPARE(w.player().caption(), QFileInfo(path).fileName());
        QCOMPARE(w.player().lastOpenedPath(), path);
        QCOMPARE(w.list().path(), folder);
        QCOMPARE(w.list().pattern(), pattern);
        QCOMPARE(::tivora::rows(w.list()), rows);
        const bool marked = settingsStart.startsWith("\xEF\xBB\xBF");
        QCOMPARE(readAll(w.dataTxt()),
                 settingsStart + (marked ? folder.toUtf8() : toAnsi(folder)) + "\r\n");
        // The next load lists the remembered folder, and a double-click plays from it.
        w.close();
        w.open();
        QCOMPARE(w.list().path(), folder);
        QCOMPARE(::tivora::rows(w.list()), rows);
        w.doubleClickRow(0);
        QCOMPARE(playerCalls(w.services.log),
                 (QStringList{kStop, source(folder + rows.first()), kPlay}));
    }

    void cancelThenButtonOpensNormally() {
        Windows w;
        w.open();
        const QString chosen = media_.filePath(u"xy01.rmvb"_s);
        w.choices << chosen;
        w.clickButton(u"Command1"_s);
        QCOMPARE(playerCalls(w.services.log), (QStringList{kStop, source(chosen), kPlay}));
        QCOMPARE(w.player().caption(), u"xy01.rmvb"_s);
        QCOMPARE(rows(w.list()), QStringList{u"xy01.rmvb"_s});
        QCOMPARE(readAll(w.dataTxt()), QFile::encodeName(u"xy?"_s + media_.path() + u"/\r\n"_s));
        QCOMPARE(w.dialogs, 2);
    }

    void buttonWithTheSameFileDoesNothing_data() {
        QTest::addColumn<bool>("reopen");
        QTest::addColumn<bool>("cancel");
        QTest::newRow("chosen again") << false << false;
        QTest::newRow("cancelled: the dialog keeps the earlier choice") << false << true;
        QTest::newRow("chosen again after close and reopen") << true << false;
    }

    void buttonWithTheSameFileDoesNothing() {
        QFETCH(bool, reopen);
        QFETCH(bool, cancel);
        Windows w;
        const QString chosen = media_.filePath(u"ab01.rmvb"_s);
        w.choices << chosen;
        w.open();
        if (reopen) {
            w.close();
            w.open();  // cancelled this time
            QCOMPARE(test::probe(w.player()).fileDialog()->fileName(), QString());
        }
        QVERIFY(QFile::remove(w.dataTxt()));
        w.player().setCaption(u"marked"_s);
        w.choices << (cancel ? QString() : chosen);
        w.clickButton(u"Command1"_s);
        QCOMPARE(w.dialogs, reopen ? 3 : 2);
        QVERIFY(playerCalls(w.services.log).isEmpty());
        QCOMPARE(w.player().caption(), u"marked"_s);
        QVERIFY(!QFile::exists(w.dataTxt()));
        QCOMPARE(w.player().lastOpenedPath(), chosen);
    }

    void listClickShowsTheNameBanner() {
        Windows w;
        w.choices << media_.filePath(u"ab01.rmvb"_s);
        w.open();
        const int row = w.rowOf(u"ab02.rm"_s);
        w.clickRow(row);
        QCOMPARE(w.list().listIndex(), row);
        Control& banner = w.control(u"Picture1"_s);
        Control& label = w.control(u"Label1"_s);
        QCOMPARE(label.caption(), u"ab02.rm"_s);
        QVERIFY(banner.visible());
        QVERIFY(banner.widget()->isVisible());
        QVERIFY(label.width() > 0);
        QCOMPARE(banner.width(), label.width() + 200.0F);
        QCOMPARE(banner.left(), (w.player().width() - banner.width()) / 2.0F);
        QCOMPARE(label.left(), 100.0F);
        QCOMPARE(banner.top(), w.player().height() / 2.0F - 440.0F);
        QCOMPARE(banner.height(), 440.0F);
        QCOMPARE(label.top(), 120.0F);
        QVERIFY(test::probe(w.player()).timer2()->isActive());
        QVERIFY(playerCalls(w.services.log).isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(!banner.visible(), kBound);
        QVERIFY(!test::probe(w.player()).timer2()->isActive());
    }

    void eachShowingRestartsTheBannersTwoSeconds() {
        Windows w;
        w.choices << media_.filePath(u"ab01.rmvb"_s);
        w.open();
        Control& banner = w.control(u"Picture1"_s);
        QTimer& timer2 = *test::probe(w.player()).timer2();
        w.clickRow(0);
        QTRY_VERIFY_WITH_TIMEOUT(timer2.remainingTime() < 1400, kBound);
        QVERIFY(banner.visible());
        QElapsedTimer sinceLast;
        w.clickRow(1);
        sinceLast.start();
        QVERIFY(timer2.remainingTime() > 1900);
        QCOMPARE(w.control(u"Label1"_s).caption(), w.list().list(1));
        QTRY_VERIFY_WITH_TIMEOUT(!banner.visible(), kBound);
        QVERIFY2(sinceLast.elapsed() >= 1950, qPrintable(QString::number(sinceLast.elapsed())));
    }

    void doubleClickPlaysFromTheDialogsFolder() {
        Windows w;
        const QString chosen = media_.filePath(u"ab01.rmvb"_s);
        w.choices << chosen;
        w.open();
        const QByteArray settings = readAll(w.dataTxt());
        const int row = w.rowOf(u"AB03.RMVB"_s);
        w.doubleClickRow(row);
        QCOMPARE(playerCalls(w.services.log),
                 (QStringList{kStop, source(media_.filePath(u"AB03.RMVB"_s)), kPlay}));
        QCOMPARE(w.player().caption(), u"AB03.RMVB"_s);
        // The double-click was also a click.
        QCOMPARE(w.control(u"Label1"_s).caption(), u"AB03.RMVB"_s);
        QVERIFY(w.control(u"Picture1"_s).visible());
        QCOMPARE(w.player().lastOpenedPath(), chosen);
        QCOMPARE(readAll(w.dataTxt()), settings);
    }

    void doubleClickBeforeAnyChoiceReadsDataTxt() {
        Windows w;
        writeAll(w.dataTxt(), QFile::encodeName(u"ab?"_s + media_.path() + u"/\r\n"_s));
        w.open();  // cancelled
        QCOMPARE(w.list().path(), media_.path() + u'/');
        QCOMPARE(rows(w.list()), (QStringList{u"ab01.rmvb"_s, u"ab02.rm"_s, u"AB03.RMVB"_s}));
        w.doubleClickRow(w.rowOf(u"ab02.rm"_s));
        QCOMPARE(playerCalls(w.services.log),
                 (QStringList{kStop, source(media_.filePath(u"ab02.rm"_s)), kPlay}));
        QCOMPARE(w.player().caption(), u"ab02.rm"_s);
        // Read again at each double-click, not kept from the load.
        writeAll(w.dataTxt(), QFile::encodeName(u"zz?"_s + other_.path() + u"/\r\n"_s));
        w.services.log.clear();
        w.doubleClickRow(w.rowOf(u"ab01.rmvb"_s));
        QCOMPARE(playerCalls(w.services.log),
                 (QStringList{kStop, source(other_.filePath(u"ab01.rmvb"_s)), kPlay}));
        QVERIFY(w.player().lastOpenedPath().isEmpty());
        // Without settings: the folder the list shows.
        QVERIFY(QFile::remove(w.dataTxt()));
        w.services.log.clear();
        w.doubleClickRow(w.rowOf(u"ab02.rm"_s));
        QCOMPARE(playerCalls(w.services.log),
                 (QStringList{kStop, source(media_.filePath(u"ab02.rm"_s)), kPlay}));
    }

    void doubleClickAfterAMissingRememberedFolderPlaysFromTheListedFolder() {
        Windows w;
        writeAll(w.dataTxt(), "ab?/no/such/folder/\r\n");
        w.open();
        QCOMPARE(w.list().path(), userVideosFolder());
        w.list().setPath(media_.path());
        w.services.log.clear();
        w.doubleClickRow(w.rowOf(u"ab02.rm"_s));
        QCOMPARE(playerCalls(w.services.log),
                 (QStringList{kStop, source(media_.filePath(u"ab02.rm"_s)), kPlay}));
        // The program folder is probed once per run, not at every read.
        QCOMPARE(w.services.writableFolderProbes, 1);
    }

    void playerKeysAndBar_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("logged");
        QTest::newRow("space pauses") << int(Qt::Key_Space) << 0 << u"player pause yes"_s;
        QTest::newRow("right: 5 s on") << int(Qt::Key_Right) << 0 << u"player seek 105"_s;
        QTest::newRow("left: 5 s back") << int(Qt::Key_Left) << 0 << u"player seek 95"_s;
        QTest::newRow("shift+right: a minute")
            << int(Qt::Key_Right) << int(Qt::ShiftModifier) << u"player seek 160"_s;
        QTest::newRow("up: louder, at most 100") << int(Qt::Key_Up) << 0 << u"player volume 100"_s;
        QTest::newRow("down: softer") << int(Qt::Key_Down) << 0 << u"player volume 95"_s;
        QTest::newRow("m mutes") << int(Qt::Key_M) << 0 << u"player mute yes"_s;
        QTest::newRow("z: subtitles earlier")
            << int(Qt::Key_Z) << 0 << u"player subtitle delay -0.1"_s;
        QTest::newRow("x: subtitles later")
            << int(Qt::Key_X) << 0 << u"player subtitle delay 0.1"_s;
        QTest::newRow("]: faster") << int(Qt::Key_BracketRight) << 0 << u"player speed 1.25"_s;
        QTest::newRow("[: slower") << int(Qt::Key_BracketLeft) << 0 << u"player speed 0.75"_s;
        QTest::newRow("backspace: normal speed")
            << int(Qt::Key_Backspace) << 0 << u"player speed 1"_s;
    }

    void playerKeysAndBar() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, logged);
        Windows w;
        w.choices << media_.filePath(u"ab01.rmvb"_s);
        w.open();
        PlayerSurface* surface = test::probe(w.player()).playerSurface();
        test::probe(w.player()).player()->seekTo(100);
        surface->setFocus();
        w.services.log.clear();
        QTest::keyClick(surface, static_cast<Qt::Key>(key),
                        static_cast<Qt::KeyboardModifiers>(modifiers));
        QCOMPARE(playerCalls(w.services.log), QStringList{logged});
        // The bar follows the player.
        QCOMPARE(
            surface->bar()->timeText(),
            playback::formatTime(test::probe(w.player()).player()->position()) + u" / 01:30:00"_s);
    }

    // Tracks, recent files and decoding in the video's right-click menu; screenshots, frames,
    // speed and drops on the video.
    void videoMenuAndKeys() {
        Windows w;
        w.choices << media_.filePath(u"ab01.rmvb"_s);
        w.open();
        auto* fake = qobject_cast<test::FakePlayer*>(test::probe(w.player()).player());
        QVERIFY(fake != nullptr);
        const auto track = [](MediaTrack::Kind kind, int id, const QString& language) {
            MediaTrack one;
            one.kind = kind;
            one.id = id;
            one.language = language;
            one.selected = id == 1;
            return one;
        };
        fake->fileTracks = {track(MediaTrack::Kind::Audio, 1, u"yue"_s),
                            track(MediaTrack::Kind::Audio, 2, u"eng"_s),
                            track(MediaTrack::Kind::Subtitle, 1, u"chs"_s)};
        // Played again, now with its tracks.
        w.doubleClickRow(w.rowOf(u"ab01.rmvb"_s));
        QCOMPARE(fake->tracks().size(), 3);
        PlayerSurface* surface = test::probe(w.player()).playerSurface();
        QWidget* video = fake->widget();

        QMenu* menu = surface->showMenu(video->mapToGlobal(QPoint(10, 10)));
        const auto entry = [](QMenu* in, const QString& text) -> QAction* {
            for (QAction* action : in->actions()) {
                if (action->text().startsWith(text)) {
                    return action;
                }
            }
            return nullptr;
        };
        QMenu* audio = entry(menu, u"音轨"_s)->menu();
        QCOMPARE(entry(audio, u"音轨 1"_s)->text(), u"音轨 1（粤语）"_s);
        QVERIFY(entry(audio, u"音轨 1"_s)->isChecked());
        QCOMPARE(entry(entry(menu, u"字幕"_s)->menu(), u"字幕 1"_s)->text(),
                 u"字幕 1（简体中文）"_s);
        QVERIFY(entry(entry(menu, u"字幕"_s)->menu(), u"加载字幕文件…"_s) != nullptr);
        QVERIFY(entry(menu, u"硬件解码"_s)->isChecked());
        QMenu* recent = entry(menu, u"最近播放"_s)->menu();
        QVERIFY(entry(recent, u"ab01.rmvb"_s)->isEnabled());
        w.services.log.clear();
        entry(audio, u"音轨 2"_s)->trigger();
        QCOMPARE(playerCalls(w.services.log), QStringList{u"player track 1 2"_s});
        QCOMPARE(fake->messages.last(), u"音轨 2（英语）"_s);
        QVERIFY(!fake->selectTrack(MediaTrack::Kind::Audio, 9));
        entry(menu, u"硬件解码"_s)->trigger();
        QVERIFY(!PlayerPreferences().hardwareDecoding());
        menu->close();

        // A recent file that has gone is greyed, with a tooltip saying so.
        QFile::rename(media_.filePath(u"ab01.rmvb"_s), media_.filePath(u"ab01.moved"_s));
        menu = surface->showMenu(video->mapToGlobal(QPoint(10, 10)));
        QAction* gone = entry(entry(menu, u"最近播放"_s)->menu(), u"ab01.rmvb"_s);
        QFile::rename(media_.filePath(u"ab01.moved"_s), media_.filePath(u"ab01.rmvb"_s));
        QVERIFY(!gone->isEnabled());
        QVERIFY(gone->toolTip().startsWith(u"文件已不存在"_s));
        menu->close();

        surface->setFocus();
        QTest::keyClick(surface, Qt::Key_X);
        QCOMPARE(fake->messages.last(), u"字幕延迟 +0.1 秒"_s);
        QTest::keyClick(surface, Qt::Key_BracketRight);
        QCOMPARE(surface->bar()->speedLabel()->text(), u"1.25×"_s);
        QVERIFY(surface->bar()->speedLabel()->isVisible());
        w.services.log.clear();
        QTest::keyClick(surface, Qt::Key_Period);
        QVERIFY(playerCalls(w.services.log).isEmpty());
        QTest::keyClick(surface, Qt::Key_Space);
        QTest::keyClick(surface, Qt::Key_Period);
        QTest::keyClick(surface, Qt::Key_Comma);
        QCOMPARE(
            playerCalls(w.services.log),
            (QStringList{u"player pause yes"_s, u"player frame on"_s, u"player frame back"_s}));

        QTest::keyClick(surface, Qt::Key_S);
        const QString banner = w.control(u"Label1"_s).caption();
        QVERIFY2(banner.startsWith(u"截图已保存到 "_s), qPrintable(banner));
        const QString shot = banner.mid(7);
        QCOMPARE(QFileInfo(shot).absolutePath(),
                 QDir(PlayerActions::screenshotFolder()).absolutePath());
        QVERIFY(QFileInfo(shot).fileName().startsWith(u"ab01 "_s));
        QCOMPARE(QImage(shot).size(), QSize(320, 240));
        QFile::remove(shot);

        // A file dropped on the video plays.
        auto* mime = new QMimeData;
        mime->setUrls({QUrl::fromLocalFile(media_.filePath(u"ab02.rm"_s))});
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, mime, Qt::LeftButton, {});
        w.services.log.clear();
        // Straight to the surface's filter on the video: a drop without a drag under way goes
        // nowhere else in an offscreen run.
        QVERIFY(static_cast<QObject*>(surface)->eventFilter(video, &drop));
        QVERIFY(drop.isAccepted());
        QCOMPARE(w.player().caption(), u"ab02.rm"_s);
        QVERIFY(playerCalls(w.services.log).contains(source(media_.filePath(u"ab02.rm"_s))));
        delete mime;
    }

    void volumeAndMuteAreRemembered() {
        {
            Windows w;
            w.choices << media_.filePath(u"ab01.rmvb"_s);
            w.open();
            PlayerControl* player = test::probe(w.player()).player();
            player->setVolume(40);
            player->setMuted(true);
        }
        Windows again;
        again.open();
        PlayerControl* player = test::probe(again.player()).player();
        QCOMPARE(player->volume(), 40);
        QVERIFY(player->isMuted());
    }

    void arrowKeysInTheListStayTheList() {
        Windows w;
        w.choices << media_.filePath(u"ab01.rmvb"_s);
        w.open();
        w.list().setFocus();
        w.list().setCurrentRow(0);
        w.services.log.clear();
        QTest::keyClick(&w.list(), Qt::Key_Down);
        QCOMPARE(w.list().listIndex(), 1);
        QVERIFY(playerCalls(w.services.log).isEmpty());
    }

    void fullScreenRoundTripKeepsTheWindow() {
        Windows w;
        w.choices << media_.filePath(u"ab01.rmvb"_s);
        w.open();
        PlayerSurface* surface = test::probe(w.player()).playerSurface();
        w.clickButton(u"Command2"_s);  // list hidden
        const QRect windowBefore = w.player().window()->geometry();
        const QRect surfaceBefore = surface->geometry();
        QTest::keyClick(surface, Qt::Key_F);
        QVERIFY(surface->inFullScreen());
        QVERIFY(surface->stage()->isAncestorOf(test::probe(w.player()).player()->widget()));
        QVERIFY(surface->stage()->isFullScreen());
        // After two idle seconds the bar hides; any movement brings it back.
        QTRY_VERIFY_WITH_TIMEOUT(!surface->bar()->isVisible(), kBound);
        QTest::mouseMove(test::probe(w.player()).player()->widget(), QPoint(20, 20));
        QTRY_VERIFY_WITH_TIMEOUT(surface->bar()->isVisible(), kBound);
        QTest::keyClick(surface->stage(), Qt::Key_Escape);
        QVERIFY(!surface->inFullScreen());
        QVERIFY(surface->isAncestorOf(test::probe(w.player()).player()->widget()));
        QCOMPARE(w.player().window()->geometry(), windowBefore);
        QCOMPARE(surface->geometry(), surfaceBefore);
        QVERIFY(!w.control(u"Frame1"_s).visible());
        QVERIFY(surface->bar()->isVisible());
    }

    void continuousPlayMovesToTheNextListedFile() {
        Windows w;
        w.choices << media_.filePath(u"ab01.rmvb"_s);
        w.open();
        auto* fake = static_cast<test::FakePlayer*>(test::probe(w.player()).player());
        QVERIFY(test::probe(w.player()).playerSurface()->bar()->continuousPlay());
        w.services.log.clear();
        fake->finishForTesting();
        QCOMPARE(w.player().caption(), u"ab02.rm"_s);
        QCOMPARE(w.control(u"Label1"_s).caption(), u"ab02.rm"_s);
        QCOMPARE(playerCalls(w.services.log),
                 (QStringList{kStop, source(media_.filePath(u"ab02.rm"_s)), kPlay}));
        // After the last file nothing more plays.
        fake->finishForTesting();
        QCOMPARE(w.player().caption(), u"AB03.RMVB"_s);
        w.services.log.clear();
        fake->finishForTesting();
        QVERIFY(playerCalls(w.services.log).isEmpty());
        // Off, remembered for the next run.
        test::probe(w.player()).playerSurface()->bar()->continuousButton()->click();
        QVERIFY(!PlayerPreferences().continuousPlay());
        w.doubleClickRow(0);
        w.services.log.clear();
        fake->finishForTesting();
        QVERIFY(playerCalls(w.services.log).isEmpty());
        QVERIFY(PlayerPreferences().setContinuousPlay(true));
    }

    void reopenedFileResumesWhereItWasLeft() {
        const QString film = media_.filePath(u"ab01.rmvb"_s);
        {
            Windows w;
            w.choices << film;
            w.open();
            test::probe(w.player()).player()->seekTo(1234);
            // Replaced by a double-click before its end.
            w.doubleClickRow(w.rowOf(u"ab02.rm"_s));
            QCOMPARE(*ResumeStore().position(film), 1234.0);
        }
        {
            // A new run: the file goes on from there, and the banner says so.
            Windows w(false);
            w.choices << film;
            w.open();
            QCOMPARE(test::probe(w.player()).player()->position(), 1234.0);
            QCOMPARE(w.control(u"Label1"_s).caption(), u"从上次位置继续播放"_s);
            QVERIFY(w.control(u"Picture1"_s).visible());
            // Played to its end: forgotten, so the next opening starts at the beginning.
            static_cast<test::FakePlayer*>(test::probe(w.player()).player())->finishForTesting();
            QVERIFY(!ResumeStore().position(film));
        }
    }

    // What a file's start writes (the recent list, the replaced file's place) waits until it has
    // started, and is written at once when something reads it first or the window closes.
    void startWritesWaitForTheStart_data() {
        QTest::addColumn<QString>("then");
        QTest::newRow("started") << u"started"_s;
        QTest::newRow("menu") << u"menu"_s;
        QTest::newRow("open button") << u"open button"_s;
        QTest::newRow("window closed") << u"window closed"_s;
        QTest::newRow("never started") << u"never started"_s;
    }

    void startWritesWaitForTheStart() {
        QFETCH(QString, then);
        const QString first = media_.filePath(u"ab01.rmvb"_s);
        const QString next = QDir::toNativeSeparators(media_.filePath(u"ab02.rm"_s));
        Windows w;
        w.choices << first;
        w.open();
        auto* fake = static_cast<test::FakePlayer*>(test::probe(w.player()).player());
        fake->seekTo(1234);
        fake->startLater = true;
        w.doubleClickRow(w.rowOf(u"ab02.rm"_s));
        QVERIFY(!RecentFiles().files().contains(next));
        QVERIFY(!ResumeStore().position(first));
        if (then == u"started"_s) {
            fake->startForTesting();
        } else if (then == u"menu"_s) {
            PlayerSurface* surface = test::probe(w.player()).playerSurface();
            QMenu* menu = surface->showMenu(fake->widget()->mapToGlobal(QPoint(10, 10)));
            QVERIFY(menu != nullptr);
            menu->close();
        } else if (then == u"open button"_s) {
            w.clickButton(u"Command1"_s);
        } else if (then == u"window closed"_s) {
            w.close();
        }
        if (then == u"never started"_s) {
            QTRY_VERIFY_WITH_TIMEOUT(RecentFiles().files().contains(next), kBound);
        }
        QVERIFY(RecentFiles().files().contains(next));
        QCOMPARE(*ResumeStore().position(first), 1234.0);
    }

    void droppedFilesOpenInThePlayer_data() {
        QTest::addColumn<QString>("onto");     // the window dropped on
        QTest::addColumn<QString>("dropped");  // a name in the media folder, or "<folder>"
        QTest::addColumn<QString>("message");  // empty: the file plays
        QTest::newRow("video on the player") << u"player"_s << u"ab02.rm"_s << QString();
        QTest::newRow("video on the main window") << u"main"_s << u"AB03.RMVB"_s << QString();
        QTest::newRow("a folder") << u"player"_s << u"<folder>"_s
                                  << u"是一个文件夹，请拖入或选择一个视频文件。"_s;
        QTest::newRow("not a video") << u"main"_s << u"ab04.txt"_s << u"不是视频文件，无法播放。"_s;
    }

    void droppedFilesOpenInThePlayer() {
        QFETCH(QString, onto);
        QFETCH(QString, dropped);
        QFETCH(QString, message);
        Windows w;
        w.main().show();
        if (onto == u"player"_s) {
            w.open();
        }
        const QByteArray before = readAll(w.dataTxt());
        const QString path = dropped == u"<folder>"_s ? other_.path() : media_.filePath(dropped);
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QWidget* target = onto == u"player"_s ? w.player().window() : w.main().window();
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        w.services.log.clear();
        QApplication::sendEvent(target, &drop);
        if (message.isEmpty()) {
            QCOMPARE(playerCalls(w.services.log), (QStringList{kStop, source(path), kPlay}));
            QCOMPARE(w.player().caption(), dropped);
            QVERIFY(w.player().isVisible());
            QVERIFY(!w.main().isVisible());
            QCOMPARE(w.list().path(), media_.path() + u'/');
            QVERIFY(readAll(w.dataTxt()).endsWith(QFile::encodeName(media_.path() + u"/\r\n"_s)));
        } else {
            QCOMPARE(w.services.messages.size(), 1);
            QVERIFY(w.services.messages.front().prompt.endsWith(message));
            QVERIFY(playerCalls(w.services.log).isEmpty());
            QCOMPARE(readAll(w.dataTxt()), before);
        }
    }

    // GBK names (第一集, 第一集续), as discs made on Chinese Windows bring them: a drop, a
    // hand-over and the dialog (which shows them with U+FFFD) open them; the caption and the list
    // read GBK.
    void gbkNamedFilesOpenFromEverywhere_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("drop") << u"drop"_s;
        QTest::newRow("hand-over") << u"hand-over"_s;
        QTest::newRow("dialog") << u"dialog"_s;
        QTest::newRow("dialog from the button") << u"button"_s;
    }

    void gbkNamedFilesOpenFromEverywhere() {
        QFETCH(QString, how);
        QTemporaryDir folder;
        // QTemporaryDir cannot remove what Qt cannot name.
        const std::unique_ptr<QTemporaryDir, void (*)(QTemporaryDir*)> removed(
            &folder,
            [](QTemporaryDir* dir) { std::filesystem::remove_all(dir->path().toStdString()); });
        const QByteArray folderBytes = QFile::encodeName(folder.path()) + '/';
        const QByteArray first = folderBytes + "\xb5\xda\xd2\xbb\xbc\xaf.rmvb";
        const QByteArray second = folderBytes + "\xb5\xda\xd2\xbb\xbc\xaf\xd0\xf8.rmvb";
        for (const QByteArray& file : {first, second}) {
            const int fd = ::open(file.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
            QVERIFY(fd >= 0 && ::close(fd) == 0);
        }
        const QString readable = folder.path() + u"/第一集.rmvb"_s;
        Windows w;
        w.main().show();
        if (how == u"drop"_s) {
            QMimeData data;
            data.setUrls({QUrl::fromEncoded("file://" + first.toPercentEncoding("/"))});
            QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(w.main().window(), &enter);
            QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(w.main().window(), &drop);
        } else if (how == u"hand-over"_s) {
            w.player().openFromOutside(readable);
        } else if (how == u"dialog"_s) {
            w.choices << QFile::decodeName(first);
            w.open();
            w.services.log = w.opened;
        } else {
            // Played as it is chosen, and not again under the name the dialog showed.
            w.open();
            w.choices << QFile::decodeName(first);
            w.services.log.clear();
            w.clickButton(u"Command1"_s);
        }
        QCOMPARE(playerCalls(w.services.log).filter(u"source"_s), QStringList{source(readable)});
        QCOMPARE(localpath::toBytes(readable), first);
        QCOMPARE(w.player().caption(), u"第一集.rmvb"_s);
        QCOMPARE(rows(w.list()), (QStringList{u"第一集.rmvb"_s, u"第一集续.rmvb"_s}));
        // The folder goes to data.txt as the bytes it has on disk.
        QVERIFY(readAll(w.dataTxt()).endsWith(folderBytes + "\r\n"));
        w.services.log.clear();
        w.doubleClickRow(1);
        QCOMPARE(playerCalls(w.services.log),
                 (QStringList{kStop, source(folder.path() + u"/第一集续.rmvb"_s), kPlay}));
    }

    // Fifty refused hand-overs while the first box is open: one box.
    void refusedFilesShareOneBox() {
        Windows w;
        w.main().show();
        int boxes = 0;
        w.services.onMessage = [&](const test::RecordedMessage& /*box*/) {
            if (++boxes == 1) {
                for (int i = 0; i < 50; ++i) {
                    w.player().openFromOutside(media_.filePath(u"ab04.txt"_s));
                }
            }
        };
        w.player().openFromOutside(media_.filePath(u"ab04.txt"_s));
        QCOMPARE(boxes, 1);
        w.player().openFromOutside(other_.path());
        QCOMPARE(boxes, 2);
    }

    void screenStaysAwakeOnlyWhilePlaying() {
        Windows w;
        w.choices << media_.filePath(u"ab01.rmvb"_s);
        w.open();
        PlayerWindow* player = &w.player();
        QVERIFY(w.services.awake.contains(player));
        QTest::keyClick(test::probe(*player).playerSurface(), Qt::Key_Space);  // paused
        QVERIFY(w.services.awake.isEmpty());
        QTest::keyClick(test::probe(*player).playerSurface(), Qt::Key_Space);
        QVERIFY(w.services.awake.contains(player));
        w.close();
        QVERIFY(w.services.awake.isEmpty());
    }

    void unusableSettingsStillGiveAList_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("present");
        QTest::newRow("missing") << QByteArray() << false;
        QTest::newRow("empty") << QByteArray() << true;
        QTest::newRow("no separator") << QByteArray("ab D:\\Media\\\r\n") << true;
        QTest::newRow("no folder") << QByteArray("ab?\r\n") << true;
        QTest::newRow("folder gone") << QByteArray("ab?/no/such/folder/\r\n") << true;
        QTest::newRow("binary junk") << QByteArray("\xFF\xFE\x00\xD8??\x01", 7) << true;
        QByteArray megabyte(1024 * 1024, Qt::Uninitialized);
        std::mt19937 random(14);
        for (char& byte : megabyte) {
            byte = static_cast<char>(random() & 0xFF);
        }
        QTest::newRow("1 MiB of junk") << megabyte << true;
        QTest::newRow("1 MiB of lines")
            << QByteArray("ab?/no/such/folder/\r\n").repeated(48000) << true;
    }

    void unusableSettingsStillGiveAList() {
        QFETCH(QByteArray, content);
        QFETCH(bool, present);
        Windows w;
        if (present) {
            writeAll(w.dataTxt(), content);
        }
        w.open();
        QVERIFY(w.player().isVisible());
        QCOMPARE(w.list().path(), userVideosFolder());
        QCOMPARE(w.list().pattern(), u"**rm*"_s);
        QVERIFY(w.services.messages.isEmpty());
        // Nothing is written until a file is chosen.
        QCOMPARE(QFileInfo::exists(w.dataTxt()), present);
        if (present) {
            QVERIFY(readAll(w.dataTxt()) == content);
        }
    }

    void emptyListFollowsTheChosenFile() {
        QTemporaryDir empty;
        Windows w;
        writeAll(w.dataTxt(), QFile::encodeName(u"zz?"_s + empty.path() + u"/\r\n"_s));
        w.choices << media_.filePath(u"ab01.rmvb"_s);
        w.player().show();
        QCOMPARE(w.list().path(), empty.path() + u'/');
        QCOMPARE(w.list().listCount(), 0);
        test::probe(w.player()).timer1()->setInterval(0);
        QTRY_COMPARE_WITH_TIMEOUT(w.player().caption(), u"ab01.rmvb"_s, kBound);
        QCOMPARE(w.list().path(), media_.path() + u'/');
        QCOMPARE(rows(w.list()), (QStringList{u"ab01.rmvb"_s, u"ab02.rm"_s, u"AB03.RMVB"_s}));
    }

    void readOnlyProgramFolderKeepsSettingsInTheUserDataFolder() {
        Windows w;
        w.services.programFolderPath = u"/proc"_s;  // not writable, even as root
        w.choices << other_.filePath(u"cd01.rm"_s);
        w.open();
        QCOMPARE(w.player().caption(), u"cd01.rm"_s);
        const QString kept =
            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + u"/data.txt"_s;
        QCOMPARE(test::probe(w.player()).settingsFile().path(), kept);
        QCOMPARE(readAll(kept), QFile::encodeName(u"cd?"_s + other_.path() + u"/\r\n"_s));
        w.close();
        w.open();
        QCOMPARE(w.list().path(), other_.path() + u'/');
        QCOMPARE(rows(w.list()), QStringList{u"cd01.rm"_s});
        QVERIFY(w.services.messages.isEmpty());
    }

    void hideListUntilTheNextResize() {
        Windows w;
        w.open();
        PlayerWindow& player = w.player();
        w.clickButton(u"Command2"_s);
        QCOMPARE(w.control(u"QvodCtrl1"_s).width(), player.width() - 80.0F);
        QVERIFY(!w.control(u"Frame1"_s).visible());
        QVERIFY(!w.list().isVisible());
        QCOMPARE(w.control(u"Label1"_s).caption(), kListHidden);
        QVERIFY(w.control(u"Picture1"_s).visible());
        QVERIFY(test::probe(player).timer2()->isActive());
        QCOMPARE(w.control(u"Picture1"_s).left(),
                 (player.width() - w.control(u"Picture1"_s).width()) / 2.0F);
        const int remaining = test::probe(player).timer2()->remainingTime();
        player.window()->resize(player.window()->size() + QSize(60, 40));
        QTRY_VERIFY_WITH_TIMEOUT(w.control(u"Frame1"_s).visible(), kBound);
        QCOMPARE(w.control(u"QvodCtrl1"_s).width(), player.width() - 2495.0F);
        QCOMPARE(w.control(u"Frame1"_s).left(), player.width() - 2495.0F);
        // The banner moved with the window but keeps its two seconds.
        QVERIFY(w.control(u"Picture1"_s).visible());
        QCOMPARE(w.control(u"Picture1"_s).left(),
                 (player.width() - w.control(u"Picture1"_s).width()) / 2.0F);
        QVERIFY(test::probe(player).timer2()->remainingTime() <= remaining);
    }

    void layoutFollowsTheWindowSize_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("design") << QSize(793, 516);
        QTest::newRow("large") << QSize(1200, 780);
        QTest::newRow("narrower than the list") << QSize(120, 400);
        QTest::newRow("very low") << QSize(700, 20);
    }

    void layoutFollowsTheWindowSize() {
        QFETCH(QSize, size);
        Windows w;
        w.open();
        PlayerWindow& player = w.player();
        player.window()->resize(size);
        QTRY_COMPARE_WITH_TIMEOUT(player.window()->size(), size, kBound);
        const float width = player.width();
        const float height = player.height();
        const float video = width - 2495.0F;
        if (video >= 0) {
            QCOMPARE(w.control(u"QvodCtrl1"_s).width(), video);
        }
        if (height >= 500) {
            QCOMPARE(w.control(u"QvodCtrl1"_s).height(), height - 500.0F);
        }
        QCOMPARE(w.control(u"Frame1"_s).left(), video);
        QCOMPARE(w.control(u"Frame1"_s).height(), w.control(u"QvodCtrl1"_s).height() + 100.0F);
        QCOMPARE(w.control(u"Command1"_s).top(), w.control(u"File1"_s).height());
        QCOMPARE(w.control(u"Command2"_s).top(), w.control(u"Command1"_s).top());
        QCOMPARE(w.control(u"Picture1"_s).top(), height / 2.0F - 440.0F);
        QVERIFY(w.services.messages.isEmpty());
    }

    void playbackThatCannotStartShowsAMessage() {
        Windows w;
        w.open();
        Q_EMIT test::probe(w.player()).player()->failed(u"无法播放：找不到文件“x.rm”。"_s);
        QCOMPARE(w.services.messages.size(), 1);
        QCOMPARE(w.services.messages.first().prompt, u"无法播放：找不到文件“x.rm”。"_s);
        QCOMPARE(w.services.messages.first().style, 48);
        QCOMPARE(w.services.messages.first().title, u"Tivora"_s);
        QVERIFY(w.player().isVisible());
    }

    void fileRemovedWhileListedIsStillHandedOver() {
        QTemporaryDir folder;
        touch(folder.filePath(u"ab1.rm"_s));
        touch(folder.filePath(u"ab2.rm"_s));
        Windows w;
        w.choices << folder.filePath(u"ab1.rm"_s);
        w.open();
        QVERIFY(QFile::remove(folder.filePath(u"ab2.rm"_s)));
        w.doubleClickRow(1);
        QCOMPARE(playerCalls(w.services.log),
                 (QStringList{kStop, source(folder.filePath(u"ab2.rm"_s)), kPlay}));
        QCOMPARE(w.player().caption(), u"ab2.rm"_s);
    }

private:
    QTemporaryDir media_;
    QTemporaryDir other_;
};

}  // namespace tivora

QTEST_MAIN(tivora::TestPlayerWindow)
#include "tst_playerwindow.moc"
