// A person's walk through the local player with the real program pieces in an X display: open
// it from the main window, pick a .rmvb in the real file dialog, watch it play beside the list,
// hide the list, resize, meet a file that is no video, close, and be back at the main window.
#include "app/Forms.h"
#include "desktop/DesktopServices.h"
#include "forms/Control.h"
#include "forms/ControlWidgets.h"
#include "forms/Folders.h"
#include "forms/Form.h"
#include "media/MediaFiles.h"
#include "media/MpvPlayer.h"
#include "media/MpvProbe.h"
#include "media/MpvVideoWidget.h"
#include "playback/PlayerBar.h"
#include "playback/PlayerSurface.h"
#include "player/FileListBox.h"
#include "player/LocalFiles.h"
#include "player/PlayerWindow.h"
#include "support/EventLoopWait.h"
#include "support/TestHttpServer.h"
#include "support/WebEngineTestMain.h"
#include "support/WindowProbes.h"

#include <QAbstractButton>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>

#include <clocale>

using namespace Qt::StringLiterals;
using tivora::test::TestHttpServer;
using tivora::test::waitUntil;

namespace tivora {
namespace {

constexpr int kBound = 30000;

// Acts on the next modal widget of type T as soon as it shows, from inside its event loop.
template <typename T>
void whenModal(std::function<void(T*)> act) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act = std::move(act)] {
        if (auto* modal = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(modal);
        }
    });
    timer->start(50);
}

// Types the path into the dialog's name field and presses Enter, as a person would; again
// when the first Enter only took the completer's suggestion.
void pickInDialog(const QString& path, QString* filters, QString* folder) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            if (!filters->isEmpty()) {
                timer->deleteLater();
            }
            return;
        }
        if (filters->isEmpty()) {
            *filters = dialog->nameFilters().join(u";;"_s);
            *folder = dialog->directory().absolutePath();
        }
        auto* name = dialog->findChild<QLineEdit*>(u"fileNameEdit"_s);
        name->setFocus();
        name->clear();
        QTest::keyClicks(name, path);
        QTest::keyClick(name, Qt::Key_Return);
    });
    timer->start(300);
}

bool isBlack(QRgb pixel) {
    return qRed(pixel) < 20 && qGreen(pixel) < 20 && qBlue(pixel) < 20;
}

QStringList rows(const FileListBox& list) {
    QStringList names;
    for (int row = 0; row < list.listCount(); ++row) {
        names << list.list(row);
    }
    return names;
}

}  // namespace

class TestPlayerWalkthrough final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        std::setlocale(LC_NUMERIC, "C");
        const QString why = test::makeRealMedia(media_.filePath(u"ab01.rmvb"_s), 60);
        if (!why.isEmpty()) {
            QSKIP(qPrintable(why));
        }
        QCOMPARE(test::makeRealMedia(media_.filePath(u"ab02.rmvb"_s), 20, u"navy"_s), QString());
        QVERIFY(QFile::copy(media_.filePath(u"ab02.rmvb"_s), media_.filePath(u"AB03.rm"_s)));
        QVERIFY(QFile::copy(media_.filePath(u"ab02.rmvb"_s), media_.filePath(u"xy.rmvb"_s)));
        QFile notVideo(media_.filePath(u"ab04 notes.rmvb"_s));
        QVERIFY(notVideo.open(QIODevice::WriteOnly));
        notVideo.write("shopping list, not a film\n");
        notVideo.close();
        for (const char* file : {"libSkinH_pelm.so", "skinh.she"}) {
            const QString name = QString::fromLatin1(file);
            QFile::copy(QStringLiteral(TIVORA_BIN_DIR) + u'/' + name, program_.filePath(name));
        }

        server_.page(u"/ty_00.html"_s, u"<html><body>FILM-LIST</body></html>"_s);
        server_.page(u"/vrtj.html"_s, u"<html><body>公告</body></html>"_s);
        server_.page(u"/vrpcs.asp"_s, u"<html><body>qor v10</body></html>"_s);
        server_.start();
        services_ = std::make_unique<DesktopServices>(storage_.path(), program_.path());
        forms_ = std::make_unique<Forms>(*services_, AppConfig{.portalRoot = server_.root()});
        forms_->form(FormId::Main).show();
        QVERIFY(waitUntil([&] { return !forms_->form(FormId::ServerConnection).isLoaded(); }));
    }

    void cleanupTestCase() {
        forms_.reset();
        services_.reset();
        server_.stop();
    }

    void walkThrough() {
        Form& main = forms_->form(FormId::Main);
        QVERIFY(main.isVisible());
        QString filters;
        QString folder;
        const QString chosen = media_.filePath(u"ab01.rmvb"_s);
        pickInDialog(chosen, &filters, &folder);
        QTest::mouseClick(main.control(u"Image20"_s).widget(), Qt::LeftButton);

        auto& form = forms_->playerWindow();
        QVERIFY(form.isVisible());
        QVERIFY(!main.isVisible());
        auto* player = qobject_cast<MpvPlayer*>(test::probe(form).player());
        QVERIFY2(player != nullptr, "the desktop services gave no mpv player");
        auto* video = qobject_cast<MpvVideoWidget*>(player->widget());
        QVERIFY2(video != nullptr, "no OpenGL video in this X server");
        QSignalSpy failed(player, &PlayerControl::failed);

        // The dialog came by itself, and the video plays beside the list of its namesakes.
        QVERIFY(waitUntil([&] { return form.caption() == u"ab01.rmvb"_s; }));
        // Video names match in any case, as on the systems the files come from.
        QVERIFY2(filters.startsWith(u"视频文件 (*.rm,*.rmvb) (*.[rR][mM] *.[rR][mM][vV][bB]);;"_s),
                 qPrintable(filters));
        QVERIFY2(filters.contains(u" *.[mM][kK][vV] "_s), qPrintable(filters));
        QCOMPARE(QDir(folder).absolutePath() + u'/',
                 QDir(userVideosFolder()).absolutePath() + u'/');
        QVERIFY(waitUntil([&] { return test::MpvProbe::position(*player) > 1.0; }));
        QVERIFY(waitUntil([&] {
            const QImage frame = test::MpvProbe::frame(*video);
            return !isBlack(frame.pixel(frame.width() / 2, frame.height() / 3));
        }));
        FileListBox& list = *test::probe(form).fileList();
        QCOMPARE(rows(list),
                 (QStringList{u"ab01.rmvb"_s, u"ab02.rmvb"_s, u"AB03.rm"_s, u"ab04 notes.rmvb"_s}));
        QVERIFY(list.isVisible());
        QCOMPARE(video->geometry().right() + 1, form.control(u"Frame1"_s).widget()->x());
        shot(u"e2e-player-playing"_s);

        // A row clicked: its name in the banner over the video.
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                          list.visualItemRect(list.item(1)).center());
        QVERIFY(form.control(u"Picture1"_s).widget()->isVisible());
        QCOMPARE(form.control(u"Label1"_s).caption(), u"ab02.rmvb"_s);
        shot(u"e2e-player-banner"_s);

        // Hide the list: the video takes the width, the hint shows.
        qobject_cast<QPushButton*>(form.control(u"Command2"_s).widget())->click();
        QVERIFY(!list.isVisible());
        QCOMPARE(form.control(u"Label1"_s).caption(), u"列表已经隐藏，改变窗口大小显示列表"_s);
        QVERIFY(waitUntil([&] { return video->width() > form.window()->width() - 10; }));
        QVERIFY(waitUntil([&] {
            const QImage frame = test::MpvProbe::frame(*video);
            return frame.width() > form.window()->width() - 10 &&
                   !isBlack(frame.pixel(frame.width() / 2, frame.height() / 3));
        }));
        shot(u"e2e-player-list-hidden"_s);

        // A resize brings the list back and lays the window out afresh.
        form.window()->resize(1000, 640);
        QVERIFY(waitUntil([&] { return list.isVisible(); }));
        QVERIFY(waitUntil([&] { return form.window()->width() == 1000; }));
        QCOMPARE(video->geometry().right() + 1, form.control(u"Frame1"_s).widget()->x());
        QVERIFY(waitUntil([&] { return !form.control(u"Picture1"_s).widget()->isVisible(); }));
        shot(u"e2e-player-resized"_s);

        // A double-click plays another row.
        QSignalSpy loaded(player, &MpvPlayer::fileLoaded);
        QWidget* window = form.window();
        QTest::mouseDClick(
            window->windowHandle(), Qt::LeftButton, {},
            list.viewport()->mapTo(window, list.visualItemRect(list.item(2)).center()));
        QVERIFY(waitUntil([&] { return loaded.size() == 1; }));
        QCOMPARE(test::MpvProbe::path(*player), media_.filePath(u"AB03.rm"_s));
        QCOMPARE(form.caption(), u"AB03.rm"_s);

        // A file that is no video: a clear message, and the window goes on.
        QString message;
        whenModal<QMessageBox>([&message](QMessageBox* box) {
            message = box->text();
            box->button(QMessageBox::Ok)->click();
        });
        QTest::mouseDClick(
            window->windowHandle(), Qt::LeftButton, {},
            list.viewport()->mapTo(window, list.visualItemRect(list.item(3)).center()));
        QVERIFY(waitUntil([&] { return !message.isEmpty(); }));
        QCOMPARE(message,
                 u"无法播放：“ab04 notes.rmvb”不是可以识别的视频文件，或者文件已经损坏。"_s);
        QCOMPARE(failed.size(), 1);
        QVERIFY(form.isVisible());

        // Closed: back at the main window; the settings remember the folder.
        window->close();
        QVERIFY(!form.isLoaded());
        QVERIFY(main.isVisible());
        QFile settings(program_.filePath(u"data.txt"_s));
        QVERIFY(settings.open(QIODevice::ReadOnly));
        QCOMPARE(settings.readAll(), QFile::encodeName(u"ab?"_s + media_.path() + u"/\r\n"_s));
    }

    // With continuous play on, the next listed namesake follows a file played to its end, from
    // its beginning; pausing it later keeps its place (the first file's end leaves no trace).
    void continuousPlayMovesOnToTheNextFile() {
        QTemporaryDir folder;
        const QString first = folder.filePath(u"cd01.mp4"_s);
        const QString second = folder.filePath(u"cd02.mp4"_s);
        test::VideoSpec clip;
        clip.seconds = 2;
        QCOMPARE(test::makeVideo(first, clip), QString());
        clip.seconds = 8;
        QCOMPARE(test::makeVideo(second, clip), QString());
        PlayerWindow& form = forms_->playerWindow();
        form.openFromOutside(first);
        auto* player = qobject_cast<MpvPlayer*>(test::probe(form).player());
        QVERIFY(player != nullptr);
        QVERIFY(test::probe(form).playerSurface()->bar()->continuousPlay());
        QCOMPARE(rows(*test::probe(form).fileList()), (QStringList{u"cd01.mp4"_s, u"cd02.mp4"_s}));
        QSignalSpy reached(player, &PlayerControl::endReached);
        // Every position the second file reports, to see where it starts and any jump back.
        QList<double> positions;
        QObject context;
        connect(player, &PlayerControl::stateChanged, &context, [&] {
            if (player->hasFile() && player->position() > 0 &&
                test::MpvProbe::path(*player) == second) {
                positions << player->position();
            }
        });

        QVERIFY(waitUntil([&] { return form.caption() == u"cd02.mp4"_s; }));
        QCOMPARE(reached.size(), 1);
        QVERIFY(waitUntil([&] { return !positions.isEmpty() && positions.constLast() > 1.5; }));
        QVERIFY2(positions.constFirst() < 0.5, qPrintable(QString::number(positions.constFirst())));
        QVERIFY(!player->isPaused());

        player->setPaused(true);
        QVERIFY(waitUntil([&] { return player->isPaused(); }));
        const double pausedAt = test::MpvProbe::position(*player);
        positions.clear();
        player->setPaused(false);
        QVERIFY(waitUntil(
            [&] { return !positions.isEmpty() && positions.constLast() > pausedAt + 0.5; }));
        const double lowest = *std::ranges::min_element(positions);
        QVERIFY2(lowest > pausedAt - 0.5,
                 qPrintable(u"paused at %1, then at %2"_s.arg(pausedAt).arg(lowest)));
        QCOMPARE(reached.size(), 1);
        form.window()->close();
    }

private:
    static void shot(const QString& name) {
        QApplication::processEvents();
        const QString path = QStringLiteral(TIVORA_BIN_DIR) + u"/../tests/"_s + name + u".png"_s;
        QVERIFY(QGuiApplication::primaryScreen()->grabWindow(0).save(path));
    }

    TestHttpServer server_;
    QTemporaryDir storage_;
    QTemporaryDir program_;
    QTemporaryDir media_;
    std::unique_ptr<DesktopServices> services_;
    std::unique_ptr<Forms> forms_;
};

}  // namespace tivora

TIVORA_WEBENGINE_TEST_MAIN(tivora::TestPlayerWalkthrough)
#include "tst_playerwalkthrough.moc"
