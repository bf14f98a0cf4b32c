#pragma once

#include "forms/Form.h"
#include "forms/MediaControls.h"
#include "forms/PlayerControl.h"
#include "playback/PlayerSurface.h"
#include "player/FileListBox.h"
#include "player/RecentFiles.h"
#include "player/ResumeStore.h"
#include "player/SettingsFile.h"

#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QMenu;

namespace tivora {

class FileDialog;
class FormDirectory;
namespace test {
class PlayerWindowProbe;
}

// The local player: plays local video files beside a list of their namesakes in the same folder,
// and stands in for the main window while it is open.
class PlayerWindow final : public Form {
    Q_OBJECT

public:
    PlayerWindow(Services& services, FormDirectory& forms);
    ~PlayerWindow() override;

    // The file last opened through the dialog; kept across unload and load.
    [[nodiscard]] const QString& lastOpenedPath() const { return lastOpenedPath_; }

    // Plays a file dropped on a window or named on the command line, as if chosen in the open
    // dialog; a folder or a file that is no video gets a message and changes nothing.
    void openFromOutside(const QString& path);

protected:
    [[nodiscard]] const FormDesign& design() const override;
    [[nodiscard]] std::span<const DesignRow> designTable() const override;
    [[nodiscard]] QWidget* createCustomControl(const DesignRow& row, QWidget* parent) override;
    void bindEvents() override;
    void onLoad() override;
    void onResize() override;
    void onUnload(int& cancel) override;
    void onFilesDropped(const QStringList& paths) override;

private:
    friend class test::PlayerWindowProbe;

    // data.txt where this run reads and writes it.
    [[nodiscard]] const SettingsFile& settingsFile() const;
    void automaticOpen();
    void openFile();
    void playChosenFile();
    void showDialog();
    void applyChosenFile();
    void listClick();
    void listDoubleClick();
    void playListedRow();
    // Stops the file playing and has handOver give the player the next one.
    void replaceFile(const std::function<void()>& handOver);
    // At a file's end, the next listed file, as a double-click on it would.
    void playNextFile();
    // The listed file before (-1) or after (1) the one playing; false when there is none.
    bool playListedFile(int step);
    [[nodiscard]] int playingRow() const;
    void played(const QString& path);
    // What a file's start leaves to write (the recent list, the listed type, the folder line, the
    // left file's resume point) waits until the file has started, so that the disk does not stand
    // before its first picture; held writes are done at once before anything reads them.
    void writeOnceStarted(std::function<void()> write);
    void writeHeld();
    void addRecentFiles(QMenu& menu);
    void loadSubtitleFile();
    void bindMediaControls();
    void tellMediaControls();
    // Keeps up with the player: where the open file is, and where a reopened file was left.
    void followPlayer();
    void rememberWhereLeft();
    [[nodiscard]] QStringList rows() const;
    void showBanner(const QString& text);
    void hideBanner();
    void hideList();
    // Lists the folder's namesakes of the prefix, of the remembered type or of typeName's.
    void listFolder(const QString& prefix, const QString& folder, const QString& typeName = {});
    // A file dropped or handed over that cannot play.
    void refuseFile(const QString& text);
    // A file the user counts on that could not be saved: said once a run.
    void reportSaveProblem(const QString& text);

    FormDirectory& forms_;
    QString lastOpenedPath_;
    std::unique_ptr<FileDialog> dialog_;
    QPointer<QTimer> timer1_;
    QPointer<QTimer> timer2_;
    std::vector<std::function<void()>> held_;
    // Writes the held writes of a file that never starts.
    QPointer<QTimer> heldTimer_;
    QPointer<FileListBox> list_;
    QPointer<PlayerControl> player_;
    QPointer<PlayerSurface> surface_;
    ResumeStore resume_;
    RecentFiles recent_;
    std::unique_ptr<MediaControls> mediaControls_;
    // What the preferences hold, so that only changes are written.
    int keptVolume_ = 100;
    bool keptMuted_ = false;
    double lastPosition_ = 0;
    // The file last handed to the player, and how far it got.
    QString playing_;
    bool hadFile_ = false;
    double playedTo_ = 0;
    double playedLength_ = 0;
    // Between stopping one file and handing over the next: where the stopped one was left.
    struct LeftAt {
        QString path;
        double position = 0;
        double length = 0;
    };
    bool replacing_ = false;
    std::optional<LeftAt> left_;
    mutable std::optional<SettingsFile> settingsFile_;
    bool refusing_ = false;
    bool saveProblemShown_ = false;
};

}  // namespace tivora
