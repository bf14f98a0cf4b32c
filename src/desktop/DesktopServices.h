#pragma once

#include "forms/Services.h"

#include <QSet>
#include <QTimer>

#include <chrono>
#include <memory>

namespace tivora {

class CurlDownloader;
class EngineStart;
class SkinLoader;
class SleepInhibitor;
class OnePlayerAtATime;

// The real services: Qt dialogs and processes, WebEngine panes, libcurl and the skin library.
class DesktopServices final : public Services {
public:
    // browserStorage empty: the per-user application data folder. programFolder empty: the
    // folder that holds the program.
    explicit DesktopServices(const QString& browserStorage = {}, const QString& programFolder = {});
    ~DesktopServices() override;
    Q_DISABLE_COPY_MOVE(DesktopServices)

    // How often memory the program has freed (closed pages and windows, finished loads) is handed
    // back to the system, which the C library would otherwise keep.
    static constexpr std::chrono::seconds kHousekeepingInterval{30};
    // Hands it back now.
    static void returnFreedMemory();

    // When the browser panes' engine starts; until then their loads wait.
    [[nodiscard]] EngineStart& browserEngine() const { return *engine_; }

    [[nodiscard]] BrowserPane* createBrowserPane(QWidget* parent) override;
    int messageBox(const QString& prompt, int style, const QString& title) override;
    bool startProgram(const QString& program, const QStringList& arguments,
                      WindowStyle style) override;
    [[nodiscard]] QString findExecutable(const QString& name) const override;
    bool openUrl(const QUrl& url) override;
    bool downloadFile(const QString& source, const QString& target,
                      const DownloadProgress& progress) override;
    [[nodiscard]] std::unique_ptr<FileDialog> createFileDialog(QWidget* parent) override;
    [[nodiscard]] PlayerControl* createPlayer(QWidget* parent) override;
    [[nodiscard]] std::unique_ptr<MediaControls> createMediaControls() override;
    void attachSkin(const QString& skinFile, const QString& password) override;
    [[nodiscard]] QString programFolder() const override;
    [[nodiscard]] QString writableFolderFor(const QString& fileName) const override;
    [[nodiscard]] QPixmap picture(const QString& key) const override;
    [[nodiscard]] QString playerProgramName() const override;
    [[nodiscard]] QStringList volumeControls() const override;
    [[nodiscard]] QString mediaDialogFolder() const override;
    void keepAwake(const void* holder, bool on) override;
    [[nodiscard]] bool keepsAwake(const void* holder) const {
        return awakeHolders_.contains(holder);
    }
    void endProgram(int status) override;

private:
    QString programFolder_;
    std::unique_ptr<EngineStart> engine_;
    std::unique_ptr<CurlDownloader> downloader_;
    std::unique_ptr<SkinLoader> skin_;
    std::unique_ptr<SleepInhibitor> awake_;
    std::unique_ptr<OnePlayerAtATime> onePlayer_;
    QSet<const void*> awakeHolders_;
    QTimer housekeeping_;
};

}  // namespace tivora
