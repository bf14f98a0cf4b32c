#pragma once

#include <QPixmap>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QUrl;
class QWidget;

namespace tivora {

class BrowserPane;
class FileDialog;
class MediaControls;
class PlayerControl;

// How a started program's window appears.
enum class WindowStyle { Hidden = 0, NormalFocus = 1, MinimizedFocus = 2, MaximizedFocus = 3 };

// Everything a window needs from outside itself. Windows receive it at construction so every
// handler can be driven with fakes.
class Services {
public:
    Services() = default;
    virtual ~Services();
    Q_DISABLE_COPY_MOVE(Services)

    // A browser pane owned by parent's widget tree.
    [[nodiscard]] virtual BrowserPane* createBrowserPane(QWidget* parent) = 0;

    // Modal message box; title is already resolved. Returns the answer code of the button chosen.
    virtual int messageBox(const QString& prompt, int style, const QString& title) = 0;

    // Starts a program detached; false when it could not be started.
    virtual bool startProgram(const QString& program, const QStringList& arguments,
                              WindowStyle style) = 0;
    // The full path of a program found on the search path; empty when there is none.
    [[nodiscard]] virtual QString findExecutable(const QString& name) const = 0;
    // Opens a web address in the user's default browser.
    virtual bool openUrl(const QUrl& url) = 0;

    // Bytes received so far and the whole size (0 while unknown), as a download goes on.
    using DownloadProgress = std::function<void(qint64 received, qint64 total)>;
    // Blocking download of one address to one file; true only when the whole file is in place.
    // progress, when set, is called on this thread as bytes arrive.
    virtual bool downloadFile(const QString& source, const QString& target,
                              const DownloadProgress& progress) = 0;

    [[nodiscard]] virtual std::unique_ptr<FileDialog> createFileDialog(QWidget* parent) = 0;
    // A video player control owned by parent's widget tree.
    [[nodiscard]] virtual PlayerControl* createPlayer(QWidget* parent) = 0;

    // Applies the skin file to the application; loads the skin library at the first call.
    virtual void attachSkin(const QString& skinFile, const QString& password) = 0;

    [[nodiscard]] virtual QString programFolder() const = 0;
    // Where a file of the program's named fileName is written: the program's folder when it takes
    // that file, else the user's data folder (created when missing).
    [[nodiscard]] virtual QString writableFolderFor(const QString& fileName) const = 0;

    // The picture for an art key; a null pixmap for an unknown key.
    [[nodiscard]] virtual QPixmap picture(const QString& key) const = 0;

    // The stand-alone player program's file name, looked for beside the program.
    [[nodiscard]] virtual QString playerProgramName() const = 0;
    // Volume control programs to try, in order, by the names they have on the search path.
    [[nodiscard]] virtual QStringList volumeControls() const = 0;
    // Where the open-video dialog starts.
    [[nodiscard]] virtual QString mediaDialogFolder() const = 0;

    // Keeps the screen saver and sleep away while any holder wants it; a holder lets go with
    // on false (and must before it goes).
    virtual void keepAwake(const void* holder, bool on) = 0;

    // Ends the program at once: no further window handler runs.
    virtual void endProgram(int status) = 0;

    // The desktop's media keys and player widgets, for one player window at a time; null where
    // the system has none to offer.
    [[nodiscard]] virtual std::unique_ptr<MediaControls> createMediaControls();
};

}  // namespace tivora
