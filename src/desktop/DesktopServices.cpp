#include "desktop/DesktopServices.h"

#include "art/Artwork.h"
#include "browser/BrowserProfile.h"
#include "browser/EngineStart.h"
#include "browser/WebEnginePane.h"
#include "desktop/CurlDownloader.h"
#include "desktop/MprisService.h"
#include "desktop/OnePlayerAtATime.h"
#include "desktop/PlatformConventions.h"
#include "desktop/QtFileDialog.h"
#include "desktop/SkinLoader.h"
#include "desktop/SleepInhibitor.h"
#include "forms/Folders.h"
#include "forms/Logging.h"
#include "forms/MediaControls.h"
#include "forms/MessageBoxStyle.h"
#include "forms/QuitRequest.h"
#include "media/MpvPlayer.h"
#include "media/NullPlayer.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

QMessageBox::Icon iconFor(int style) {
    switch (style & 0x70) {
        case MsgBox::Critical:
            return QMessageBox::Critical;
        case MsgBox::Question:
            return QMessageBox::Question;
        case MsgBox::Exclamation:
            return QMessageBox::Warning;
        case MsgBox::Information:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

// A program run from its build keeps its skin beside itself; an installed one in its own library
// and data folders, found relative to the program so a moved installation still finds them.
QString skinLibraryPath(const QString& programFolder) {
    const QString name = u"SkinH_pelm"_s;
    if (!QDir(programFolder).entryList({u"*"_s + name + u'*'}, QDir::Files).isEmpty()) {
        return programFolder + u'/' + name;
    }
    return QDir::cleanPath(programFolder + u'/' + QStringLiteral(TIVORA_INSTALLED_LIBRARY_DIR)) +
           u'/' + name;
}

QString installedSkinFile(const QString& programFolder, const QString& skinFile) {
    return QDir::cleanPath(programFolder + u'/' + QStringLiteral(TIVORA_INSTALLED_DATA_DIR)) +
           u'/' + QFileInfo(skinFile).fileName();
}

}  // namespace

DesktopServices::DesktopServices(const QString& browserStorage, const QString& programFolder)
    : programFolder_(programFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                             : programFolder),
      engine_(std::make_unique<EngineStart>(
          [browserStorage] { return std::make_unique<BrowserProfile>(browserStorage); })),
      downloader_(std::make_unique<CurlDownloader>()),
      skin_(std::make_unique<SkinLoader>(skinLibraryPath(programFolder_))),
      awake_(std::make_unique<SleepInhibitor>()),
      onePlayer_(std::make_unique<OnePlayerAtATime>()) {
    housekeeping_.callOnTimeout(&DesktopServices::returnFreedMemory);
    housekeeping_.start(kHousekeepingInterval);
}

DesktopServices::~DesktopServices() = default;

void DesktopServices::returnFreedMemory() {
    platform::returnFreedMemory();
}

BrowserPane* DesktopServices::createBrowserPane(QWidget* parent) {
    return new WebEnginePane(*engine_, parent);
}

int DesktopServices::messageBox(const QString& prompt, int style, const QString& title) {
    struct Choice {
        QMessageBox::StandardButton button;
        int answer;
    };
    QList<Choice> choices;
    switch (style & 0x7) {
        case MsgBox::OkCancel:
            choices = {{QMessageBox::Ok, MsgBox::AnswerOk},
                       {QMessageBox::Cancel, MsgBox::AnswerCancel}};
            break;
        case MsgBox::YesNoCancel:
            choices = {{QMessageBox::Yes, MsgBox::AnswerYes},
                       {QMessageBox::No, MsgBox::AnswerNo},
                       {QMessageBox::Cancel, MsgBox::AnswerCancel}};
            break;
        case MsgBox::YesNo:
            choices = {{QMessageBox::Yes, MsgBox::AnswerYes}, {QMessageBox::No, MsgBox::AnswerNo}};
            break;
        default:
            choices = {{QMessageBox::Ok, MsgBox::AnswerOk}};
            break;
    }
    QMessageBox box(iconFor(style), title, prompt, QMessageBox::NoButton,
                    QApplication::activeWindow());
    for (const Choice& choice : choices) {
        QAbstractButton* button = box.addButton(choice.button);
        // The box speaks the user's language whatever translations are installed.
        switch (choice.button) {
            case QMessageBox::Ok:
                button->setText(u"确定"_s);
                break;
            case QMessageBox::Cancel:
                button->setText(u"取消"_s);
                break;
            case QMessageBox::Yes:
                button->setText(u"是(&Y)"_s);
                break;
            case QMessageBox::No:
                button->setText(u"否(&N)"_s);
                break;
            default:
                break;
        }
    }
    box.setDefaultButton(choices.front().button);
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const Choice& choice : choices) {
        if (choice.button == clicked) {
            return choice.answer;
        }
    }
    // Closed with Escape or the close box: the box's cancel or last answer.
    return choices.back().answer;
}

bool DesktopServices::startProgram(const QString& program, const QStringList& arguments,
                                   WindowStyle /*style*/) {
    // A detached process gets the desktop's normal window and focus handling.
    return QProcess::startDetached(program, arguments);
}

QString DesktopServices::findExecutable(const QString& name) const {
    return QStandardPaths::findExecutable(name);
}

bool DesktopServices::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

bool DesktopServices::downloadFile(const QString& source, const QString& target,
                                   const DownloadProgress& progress) {
    const bool ok = downloader_->download(source, target, progress);
    if (!ok) {
        qCWarning(lcDesktop).noquote()
            << u"download of %1 failed: %2"_s.arg(source, downloader_->lastError());
    }
    return ok;
}

std::unique_ptr<FileDialog> DesktopServices::createFileDialog(QWidget* parent) {
    return std::make_unique<QtFileDialog>(parent);
}

std::unique_ptr<MediaControls> DesktopServices::createMediaControls() {
    return createSystemMediaControls();
}

PlayerControl* DesktopServices::createPlayer(QWidget* parent) {
    if (MpvPlayer* player = MpvPlayer::create(parent)) {
        onePlayer_->add(player);
        return player;
    }
    return new NullPlayer(parent);
}

void DesktopServices::attachSkin(const QString& skinFile, const QString& password) {
    if (QFileInfo::exists(skinFile)) {
        skin_->attach(skinFile, password);
    } else {
        skin_->attach(installedSkinFile(programFolder_, skinFile), password);
    }
}

QString DesktopServices::programFolder() const {
    return programFolder_;
}

QString DesktopServices::writableFolderFor(const QString& fileName) const {
    return chooseWritableFolder(programFolder_,
                                QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
                                fileName);
}

QPixmap DesktopServices::picture(const QString& key) const {
    return art::picture(key);
}

QString DesktopServices::playerProgramName() const {
    return platform::playerProgramName();
}

QStringList DesktopServices::volumeControls() const {
    return platform::volumeControls();
}

QString DesktopServices::mediaDialogFolder() const {
    return platform::mediaDialogFolder();
}

void DesktopServices::keepAwake(const void* holder, bool on) {
    if (on) {
        awakeHolders_.insert(holder);
    } else {
        awakeHolders_.remove(holder);
    }
    awake_->setInhibited(!awakeHolders_.isEmpty());
}

void DesktopServices::endProgram(int status) {
    quit::request();
    // Leaves every event loop, nested ones included; nothing else is dispatched.
    QCoreApplication::exit(status);
}

}  // namespace tivora
