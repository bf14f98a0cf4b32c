#include "player/PlayerWindow.h"

#include "forms/Control.h"
#include "forms/FileDialog.h"
#include "forms/Folders.h"
#include "forms/FormDirectory.h"
#include "forms/LocalPath.h"
#include "forms/Logging.h"
#include "forms/PlayerControl.h"
#include "forms/QuitRequest.h"
#include "forms/Services.h"
#include "forms/StartupTrace.h"
#include "playback/PlayerActions.h"
#include "playback/PlayerBar.h"
#include "playback/PlayerSurface.h"
#include "player/FileListBox.h"
#include "player/LocalFiles.h"
#include "player/PlayerLayout.h"
#include "player/PlayerPreferences.h"
#include "player/PlayerWindowControls.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QScopeGuard>

#include <chrono>
#include <utility>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

const FormDesign kDesign{
    .name = u"Form6"_s,
    .caption = u"播放本地文件"_s,
    .clientWidth = 11895,
    .clientHeight = 7740,
    .border = BorderStyle::Sizable,
    .centred = true,
    .iconArt = u"PlayerIcon"_s,
    .acceptsFiles = true,
};

const QColor kDarkGrey(64, 64, 64);
const QColor kButtonFace(240, 240, 240);

constexpr auto Custom = ControlKind::Custom;

// The banner comes first so that it is drawn over the video.
// clang-format off
const DesignRow kControls[] = {
    {.name = player_window::kBanner, .kind = ControlKind::PictureBox, .left = 2640, .top = 3240, .width = 3735, .height = 440, .visible = false, .background = kButtonFace},
    {.name = player_window::kBannerLabel, .kind = ControlKind::Label, .container = player_window::kBanner, .left = 0, .top = 120, .width = 540, .height = 180, .caption = u"Label1"_s, .autoSize = true, .foreground = kDarkGrey, .fontFamily = u"宋体"_s, .fontPointSize = 9},
    {.name = player_window::kPlayer, .kind = Custom, .left = 0, .top = 0, .width = 9135, .height = 5175},
    {.name = player_window::kListFrame, .kind = ControlKind::Frame, .left = 6720, .top = 0, .width = 2415, .height = 6495, .caption = u"Frame1"_s},
    {.name = player_window::kFileList, .kind = Custom, .container = player_window::kListFrame, .left = 0, .top = 0, .width = 2415, .height = 3660, .foreground = kDarkGrey, .background = Qt::white, .fontFamily = u"宋体"_s, .fontPointSize = 10.5F},
    {.name = player_window::kOpenButton, .kind = ControlKind::Button, .container = player_window::kListFrame, .left = 0, .top = 3720, .width = 1215, .height = 495, .caption = u"打开文件"_s},
    {.name = player_window::kHideListButton, .kind = ControlKind::Button, .container = player_window::kListFrame, .left = 1200, .top = 3720, .width = 1215, .height = 495, .caption = u"隐藏列表"_s},
};
// clang-format on

const QString kSubtitleFilter =
    u"字幕文件 (*.srt,*.ass,*.ssa,*.vtt,*.sub,*.idx,*.sup)|*.srt;*.ass;*.ssa;*.vtt;*.sub;*.idx;*.sup|所有文件 (*.*)|*.*"_s;
// No subtitle file is this large; a file that is would only stall the player.
constexpr qint64 kLargestSubtitle = qint64{20} * 1024 * 1024;
// A position that moves more than this between two readings was a jump.
constexpr double kJump = 2;
const QString kListHidden = u"列表已经隐藏，改变窗口大小显示列表"_s;
const QString kResumed = u"从上次位置继续播放"_s;
// A file that has not started by then (it fails slowly, its server is slow) has its writes done.
constexpr std::chrono::milliseconds kHeldWritesLimit{2000};

}  // namespace

PlayerWindow::PlayerWindow(Services& services, FormDirectory& forms)
    : Form(services), forms_(forms) {}

PlayerWindow::~PlayerWindow() {
    resume_.setProblemReport({});
    rememberWhereLeft();
    services().keepAwake(this, false);
}

const FormDesign& PlayerWindow::design() const {
    return kDesign;
}

std::span<const DesignRow> PlayerWindow::designTable() const {
    return kControls;
}

const SettingsFile& PlayerWindow::settingsFile() const {
    // Probed once per run: the probe writes into the program's folder.
    if (!settingsFile_) {
        settingsFile_.emplace(services().programFolder(),
                              services().writableFolderFor(SettingsFile::kFileName));
    }
    return *settingsFile_;
}

QWidget* PlayerWindow::createCustomControl(const DesignRow& row, QWidget* parent) {
    if (row.name == player_window::kFileList) {
        list_ = new FileListBox(parent);
        QPalette palette = list_->palette();
        palette.setColor(QPalette::Base, row.background);
        list_->setPalette(palette);
        return list_;
    }
    if (row.name == player_window::kPlayer) {
        player_ = services().createPlayer(parent);
        surface_ = new PlayerSurface(*player_, parent);
        return surface_;
    }
    return Form::createCustomControl(row, parent);
}

void PlayerWindow::bindEvents() {
    // The video has a native window of its own: the banner needs one too to lie over it.
    control(player_window::kBanner).widget()->setAttribute(Qt::WA_NativeWindow);
    dialog_ = services().createFileDialog(window());
    // Coarse timers may fire up to a twentieth early.
    timer1_ = new QTimer(window());
    timer1_->setInterval(1000);
    timer1_->setTimerType(Qt::PreciseTimer);
    connect(timer1_, &QTimer::timeout, this, [this] { dispatch([this] { automaticOpen(); }); });
    timer2_ = new QTimer(window());
    timer2_->setInterval(2000);
    timer2_->setTimerType(Qt::PreciseTimer);
    connect(timer2_, &QTimer::timeout, this, [this] { dispatch([this] { hideBanner(); }); });
    heldTimer_ = new QTimer(window());
    heldTimer_->setSingleShot(true);
    heldTimer_->setInterval(kHeldWritesLimit);
    connect(heldTimer_, &QTimer::timeout, this, [this] { dispatch([this] { writeHeld(); }); });
    bindClick(player_window::kOpenButton, [this] { openFile(); });
    bindClick(player_window::kHideListButton, [this] { hideList(); });
    connect(list_, &FileListBox::rowClicked, this, [this] { dispatch([this] { listClick(); }); });
    connect(list_, &FileListBox::rowDoubleClicked, this,
            [this] { dispatch([this] { listDoubleClick(); }); });
    connect(player_, &PlayerControl::failed, this, [this](const QString& reason) {
        dispatch([&] {
            writeHeld();
            msgBox(reason, MsgBox::OkOnly + MsgBox::Exclamation);
        });
    });
    surface_->bar()->setContinuousPlay(PlayerPreferences().continuousPlay());
    connect(surface_->bar(), &PlayerBar::continuousPlayToggled, this, [this](bool on) {
        if (!PlayerPreferences().setContinuousPlay(on)) {
            dispatch([this] {
                reportSaveProblem(u"无法保存“连续播放”的选择，磁盘可能已满或不可写入。"_s);
            });
        }
    });
    resume_.setProblemReport(
        [this](const QString& text) { dispatch([this, text] { reportSaveProblem(text); }); });
    const PlayerPreferences preferences;
    keptVolume_ = preferences.volume();
    keptMuted_ = preferences.muted();
    // Only what differs from the player's own start, so a new player is told nothing needless.
    if (player_->volume() != keptVolume_) {
        player_->setVolume(keptVolume_);
    }
    if (player_->isMuted() != keptMuted_) {
        player_->setMuted(keptMuted_);
    }
    if (player_->hardwareDecoding() != preferences.hardwareDecoding()) {
        player_->setHardwareDecoding(preferences.hardwareDecoding());
    }
    connect(surface_->actions(), &PlayerActions::hardwareDecodingChanged, this,
            [](bool on) { (void)PlayerPreferences().setHardwareDecoding(on); });
    connect(surface_->actions(), &PlayerActions::subtitleFileRequested, this,
            [this] { dispatch([this] { loadSubtitleFile(); }); });
    connect(surface_->actions(), &PlayerActions::screenshotSaved, this,
            [this](const QString& path) {
                showBanner(u"截图已保存到 "_s + QDir::toNativeSeparators(path));
            });
    connect(surface_, &PlayerSurface::menuAboutToShow, this,
            [this](QMenu* menu) { addRecentFiles(*menu); });
    connect(surface_, &PlayerSurface::filesDropped, this,
            [this](const QStringList& paths) { dispatch([&] { onFilesDropped(paths); }); });
    connect(player_, &PlayerControl::stateChanged, this,
            [this] { dispatch([this] { followPlayer(); }); });
    connect(player_, &PlayerControl::endReached, this, [this] {
        dispatch([this] {
            // Played to its end: next time it starts from the beginning.
            resume_.forget(playing_);
            playNextFile();
        });
    });
    bindMediaControls();
    QWidget::setTabOrder(surface_, list_);
    QWidget::setTabOrder(list_, control(player_window::kOpenButton).widget());
    QWidget::setTabOrder(control(player_window::kOpenButton).widget(),
                         control(player_window::kHideListButton).widget());
    timer1_->start();
}

void PlayerWindow::onLoad() {
    attachSkin();
    // Without a usable remembered folder the list starts on the user's videos.
    settings::SettingsLine remembered{QString(), userVideosFolder()};
    if (const auto line = settingsFile().read();
        line && localpath::kindOf(line->folder) == localpath::Kind::Folder) {
        remembered = *line;
    }
    listFolder(remembered.prefix, remembered.folder);
}

void PlayerWindow::onResize() {
    layout::FormTarget target(*this);
    playerlayout::layOutPlayerWindow(target);
}

void PlayerWindow::onUnload(int& /*cancel*/) {
    writeHeld();
    rememberWhereLeft();
    mediaControls_.reset();
    services().keepAwake(this, false);
    forms_.form(FormId::Main).show();
}

void PlayerWindow::listFolder(const QString& prefix, const QString& folder,
                              const QString& typeName) {
    // Whatever the list showed before: an empty list, too, follows the chosen file.
    list_->setPattern(localfiles::listPatternFor(
        prefix, typeName.isEmpty() ? PlayerPreferences().listedType() : typeName));
    list_->setPath(folder);
}

void PlayerWindow::automaticOpen() {
    // Off before the dialog: a modal dialog runs the event loop, which would tick again.
    timer1_->stop();
    showDialog();
    if (!dialog_->fileName().isEmpty()) {
        applyChosenFile();
    }
}

void PlayerWindow::openFile() {
    // The film starts as it is chosen; the dialog closes meanwhile.
    dialog_->setOnChosen([this] { playChosenFile(); });
    showDialog();
    dialog_->setOnChosen(nullptr);
    trace::mark(u"player: dialog closed"_s);
    playChosenFile();
}

void PlayerWindow::playChosenFile() {
    const QString chosen = dialog_->fileName();
    // A cancelled dialog still reports the earlier choice, which is the last opened file; so does
    // one whose choice is already playing.
    if (!chosen.isEmpty() && chosen != lastOpenedPath_) {
        replaceFile([this] { applyChosenFile(); });
    }
}

void PlayerWindow::showDialog() {
    writeHeld();
    QString folder = services().mediaDialogFolder();
    if (const auto line = settingsFile().read(); line && QFileInfo(line->folder).isDir()) {
        folder = line->folder;
    }
    dialog_->setInitDir(folder);
    dialog_->setFilter(localfiles::dialogFilter());
    dialog_->showOpen();
}

void PlayerWindow::openFromOutside(const QString& path) {
    const QFileInfo file(localpath::readable(QFileInfo(path).absoluteFilePath()));
    // Checked by its bytes and without opening it: a FIFO would hold the player.
    const localpath::Kind kind = localpath::kindOf(file.filePath());
    if (kind == localpath::Kind::Folder) {
        refuseFile(u"“%1”是一个文件夹，请拖入或选择一个视频文件。"_s.arg(file.fileName()));
        return;
    }
    if (kind != localpath::Kind::File || !localfiles::isVideoFileName(file.fileName())) {
        refuseFile(u"“%1”不是视频文件，无法播放。"_s.arg(file.fileName()));
        return;
    }
    // As the open-file button would, in place of the automatic dialog.
    show();
    timer1_->stop();
    forms_.form(FormId::Main).hide();
    replaceFile([&] {
        dialog_->choose(file.absoluteFilePath());
        applyChosenFile();
    });
}

void PlayerWindow::refuseFile(const QString& text) {
    // Many refused files at once (dropped, handed over) share the box already open.
    if (refusing_) {
        qCWarning(lcPlayer).noquote() << u"refused while a box is open: "_s + text;
        return;
    }
    refusing_ = true;
    msgBox(text, MsgBox::OkOnly + MsgBox::Exclamation);
    refusing_ = false;
}

void PlayerWindow::reportSaveProblem(const QString& text) {
    qCWarning(lcPlayer).noquote() << text;
    // Once a run, and never in the way of a quit.
    if (saveProblemShown_ || quit::requested()) {
        return;
    }
    saveProblemShown_ = true;
    msgBox(text, MsgBox::OkOnly + MsgBox::Exclamation);
}

void PlayerWindow::onFilesDropped(const QStringList& paths) {
    if (paths.isEmpty()) {
        return;
    }
    openFromOutside(paths.constFirst());
}

void PlayerWindow::applyChosenFile() {
    // The dialog shows a name that is not UTF-8 with U+FFFD; the list and caption show it as GBK.
    if (const QString readable = localpath::readable(dialog_->fileName());
        readable != dialog_->fileName()) {
        dialog_->choose(readable);
    }
    const QString path = dialog_->fileName();
    const QString title = dialog_->fileTitle();
    playing_ = path;
    player_->invoke(PlayerControl::kDispSource, path);
    player_->invoke(PlayerControl::kDispPlay);
    played(path);
    lastOpenedPath_ = path;
    const QString prefix = localfiles::namePrefix(title);
    const QString folder = QDir::toNativeSeparators(localfiles::folderOfFile(path));
    listFolder(prefix, folder, title);
    setCaption(title);
    writeOnceStarted([this, title, prefix, folder] {
        (void)PlayerPreferences().setListedType(title);
        // Playback goes on when the settings cannot be kept anywhere.
        QString error;
        if (!settingsFile().write({prefix, folder}, &error) && !error.isEmpty()) {
            reportSaveProblem(u"无法保存播放器设置，磁盘可能已满或不可写入。\n%1"_s.arg(error));
        }
    });
}

void PlayerWindow::listClick() {
    showBanner(list_->list(list_->listIndex()));
}

void PlayerWindow::listDoubleClick() {
    replaceFile([this] { playListedRow(); });
}

void PlayerWindow::playListedRow() {
    const QString name = list_->list(list_->listIndex());
    QString folder;
    if (!dialog_->fileName().isEmpty()) {
        folder = localfiles::folderOfFile(dialog_->fileName());
    } else if (const auto line = settingsFile().read();
               line && localpath::kindOf(line->folder) == localpath::Kind::Folder) {
        folder = line->folder;
    } else {
        folder = QDir::toNativeSeparators(QDir(list_->path()).absolutePath());
        if (!folder.endsWith(QDir::separator())) {
            folder += QDir::separator();
        }
    }
    playing_ = folder + name;
    player_->invoke(PlayerControl::kDispSource, playing_);
    player_->invoke(PlayerControl::kDispPlay);
    played(playing_);
    setCaption(name);
}

void PlayerWindow::followPlayer() {
    if (!held_.empty() && player_->hasStarted()) {
        writeHeld();
    }
    if (!replacing_) {
        services().keepAwake(this, player_->hasFile() && !player_->isPaused());
    }
    if (!player_->hasFile()) {
        rememberWhereLeft();
        return;
    }
    if (!hadFile_) {
        hadFile_ = true;
        playedTo_ = 0;
        playedLength_ = 0;
        if (const auto at = resume_.position(playing_)) {
            player_->seekTo(*at);
            showBanner(kResumed);
        }
    }
    if (player_->position() > 0) {
        playedTo_ = player_->position();
    }
    if (player_->duration() > 0) {
        playedLength_ = player_->duration();
    }
    if (player_->volume() != keptVolume_ || player_->isMuted() != keptMuted_) {
        keptVolume_ = player_->volume();
        keptMuted_ = player_->isMuted();
        const PlayerPreferences preferences;
        (void)preferences.setVolume(keptVolume_);
        (void)preferences.setMuted(keptMuted_);
    }
    tellMediaControls();
}

void PlayerWindow::rememberWhereLeft() {
    if (!hadFile_) {
        return;
    }
    hadFile_ = false;
    if (replacing_) {
        left_ = {playing_, playedTo_, playedLength_};
        return;
    }
    resume_.remember(playing_, playedTo_, playedLength_);
}

void PlayerWindow::replaceFile(const std::function<void()>& handOver) {
    // What the stopped file leaves behind (its place in the resume store, the hold on sleep) is
    // settled after the next file has gone to the player, its place once that file has started:
    // the disk and the session bus must not stand before its first frame.
    writeHeld();
    replacing_ = true;
    const auto settle = qScopeGuard([this] {
        replacing_ = false;
        if (left_) {
            const LeftAt left = *std::exchange(left_, std::nullopt);
            auto remember = [this, left] {
                resume_.remember(left.path, left.position, left.length);
            };
            // The same file opened again reads its place back as it opens.
            if (left.path == playing_) {
                remember();
            } else {
                writeOnceStarted(remember);
            }
        }
        services().keepAwake(this, player_->hasFile() && !player_->isPaused());
    });
    player_->invoke(PlayerControl::kDispStop);
    handOver();
}

void PlayerWindow::playNextFile() {
    if (surface_->bar()->continuousPlay()) {
        playListedFile(1);
    }
}

int PlayerWindow::playingRow() const {
    return static_cast<int>(
        rows().indexOf(QFileInfo(QDir::fromNativeSeparators(playing_)).fileName()));
}

bool PlayerWindow::playListedFile(int step) {
    const int playing = playingRow();
    const int next = playing + step;
    if (playing < 0 || next < 0 || next >= list_->listCount()) {
        return false;
    }
    list_->setCurrentRow(next);
    listDoubleClick();
    showBanner(caption());
    return true;
}

void PlayerWindow::played(const QString& path) {
    writeOnceStarted([this, name = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath())] {
        (void)recent_.add(name);
    });
}

void PlayerWindow::writeOnceStarted(std::function<void()> write) {
    held_.push_back(std::move(write));
    if (player_->hasStarted()) {
        writeHeld();
    } else if (!heldTimer_->isActive()) {
        heldTimer_->start();
    }
}

void PlayerWindow::writeHeld() {
    heldTimer_->stop();
    // A write may show a message box, whose event loop may come back here.
    for (const auto& write : std::exchange(held_, {})) {
        write();
    }
}

void PlayerWindow::addRecentFiles(QMenu& menu) {
    writeHeld();
    menu.addSeparator();
    QMenu* recent = menu.addMenu(u"最近播放"_s);
    recent->setToolTipsVisible(true);
    if (recent_.files().isEmpty()) {
        recent->addAction(u"（没有记录）"_s)->setEnabled(false);
        return;
    }
    for (const QString& path : recent_.files()) {
        QAction* action = recent->addAction(QFileInfo(QDir::fromNativeSeparators(path)).fileName());
        if (QFileInfo(path).isFile()) {
            action->setToolTip(path);
            connect(action, &QAction::triggered, this,
                    [this, path] { dispatch([&] { openFromOutside(path); }); });
        } else {
            action->setEnabled(false);
            action->setToolTip(u"文件已不存在：%1"_s.arg(path));
        }
    }
    recent->addSeparator();
    connect(recent->addAction(u"清除记录"_s), &QAction::triggered, this,
            [this] { (void)recent_.clear(); });
}

void PlayerWindow::loadSubtitleFile() {
    if (!player_->hasFile()) {
        return;
    }
    const std::unique_ptr<FileDialog> dialog = services().createFileDialog(window());
    dialog->setInitDir(localfiles::folderOfFile(playing_));
    dialog->setFilter(kSubtitleFilter);
    dialog->showOpen();
    const QString path = dialog->fileName();
    if (path.isEmpty()) {
        return;
    }
    const QFileInfo file(path);
    if (file.size() > kLargestSubtitle) {
        qCWarning(lcPlayer).noquote()
            << u"subtitle file %1 refused: %2 bytes"_s.arg(path).arg(file.size());
        msgBox(u"“%1”太大，不是字幕文件。"_s.arg(file.fileName()),
               MsgBox::OkOnly + MsgBox::Exclamation);
        return;
    }
    if (!player_->addSubtitleFile(path)) {
        msgBox(u"无法加载字幕文件“%1”。"_s.arg(file.fileName()),
               MsgBox::OkOnly + MsgBox::Exclamation);
    }
}

void PlayerWindow::bindMediaControls() {
    mediaControls_ = services().createMediaControls();
    if (!mediaControls_) {
        return;
    }
    MediaControls* controls = mediaControls_.get();
    const auto handle = [this](auto&& handler) { return [this, handler] { dispatch(handler); }; };
    connect(controls, &MediaControls::playRequested, this, handle([this] {
                if (player_->hasFile()) {
                    player_->setPaused(false);
                }
            }));
    connect(controls, &MediaControls::pauseRequested, this,
            handle([this] { player_->setPaused(true); }));
    connect(controls, &MediaControls::playPauseRequested, this,
            handle([this] { player_->setPaused(!player_->isPaused()); }));
    connect(controls, &MediaControls::stopRequested, this,
            handle([this] { player_->invoke(PlayerControl::kDispStop); }));
    connect(controls, &MediaControls::nextRequested, this, handle([this] { playListedFile(1); }));
    connect(controls, &MediaControls::previousRequested, this,
            handle([this] { playListedFile(-1); }));
    connect(controls, &MediaControls::raiseRequested, this, handle([this] {
                show();
                window()->raise();
                window()->activateWindow();
            }));
    connect(controls, &MediaControls::positionRequested, this,
            [this](double seconds) { dispatch([&] { player_->seekTo(seconds); }); });
    connect(controls, &MediaControls::rateRequested, this,
            [this](double rate) { dispatch([&] { (void)player_->setSpeed(rate); }); });
    connect(controls, &MediaControls::volumeRequested, this,
            [this](int percent) { dispatch([&] { player_->setVolume(percent); }); });
    tellMediaControls();
}

void PlayerWindow::tellMediaControls() {
    if (!mediaControls_) {
        return;
    }
    const int row = playingRow();
    const double position = player_->position();
    mediaControls_->update({
        .hasFile = player_->hasFile(),
        .paused = player_->isPaused(),
        .position = position,
        .duration = player_->duration(),
        .rate = player_->speed(),
        .volume = player_->volume(),
        .title = player_->mediaTitle().isEmpty() ? caption() : player_->mediaTitle(),
        .path = playing_,
        .canGoNext = row >= 0 && row + 1 < list_->listCount(),
        .canGoPrevious = row > 0,
    });
    if (player_->hasFile() && std::abs(position - lastPosition_) > kJump) {
        mediaControls_->seeked(position);
    }
    lastPosition_ = position;
}

QStringList PlayerWindow::rows() const {
    QStringList names;
    for (int row = 0; row < list_->listCount(); ++row) {
        names << list_->list(row);
    }
    return names;
}

void PlayerWindow::showBanner(const QString& text) {
    control(player_window::kBannerLabel).setCaption(text);
    layout::FormTarget target(*this);
    playerlayout::placeBanner(target);
    control(player_window::kBanner).widget()->raise();
    control(player_window::kBanner).setVisible(true);
    timer2_->stop();
    timer2_->start();
}

void PlayerWindow::hideBanner() {
    control(player_window::kBanner).setVisible(false);
    timer2_->stop();
}

void PlayerWindow::hideList() {
    layout::FormTarget target(*this);
    playerlayout::hideList(target);
    showBanner(kListHidden);
}

}  // namespace tivora
