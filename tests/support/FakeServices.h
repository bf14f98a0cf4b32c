#pragma once

#include "forms/BrowserPane.h"
#include "forms/FileDialog.h"
#include "forms/PlayerControl.h"
#include "forms/Services.h"

#include <QList>
#include <QMap>
#include <QPointer>
#include <QSet>
#include <QSize>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

#include <functional>

namespace tivora::test {

// A pane that records what it is told; tests raise its events by hand.
class FakeBrowserPane final : public BrowserPane {
    Q_OBJECT

public:
    FakeBrowserPane(QStringList& log, QWidget* parent);

    void navigate(const QString& address) override;
    void refresh() override;
    [[nodiscard]] QString locationURL() const override { return url_; }
    [[nodiscard]] QString locationName() const override { return title_; }
    [[nodiscard]] QString outerHTML() const override;
    [[nodiscard]] QWidget* widget() const override { return widget_; }
    [[nodiscard]] LoadOutcome lastLoadOutcome() const override { return outcome_; }
    [[nodiscard]] bool showsErrorPage() const override {
        return hasDocument_ && outcome_ != LoadOutcome::Succeeded;
    }
    [[nodiscard]] quint64 lastNavigation() const override { return navigationCount_; }
    [[nodiscard]] quint64 completedNavigation() const override { return completed_; }

    [[nodiscard]] QString name() const;
    [[nodiscard]] const QStringList& navigations() const { return navigations_; }
    [[nodiscard]] int refreshCount() const { return refreshes_; }

    void setTitle(const QString& title) { title_ = title; }
    // Completes the current document with this markup; ok false as for a failed load.
    void complete(const QString& markup, bool ok = true);
    // Completes a document with this outcome, as the answer to the given navigation.
    void complete(const QString& markup, LoadOutcome outcome, quint64 navigation);
    // A page in this pane asks for a new window; returns what the handlers decided.
    NewWindowRequest requestNewWindow();
    // Navigations to this address throw, as a failing browser call would.
    void failNavigationsTo(const QString& address) { failingAddress_ = address; }

private:
    QStringList& log_;
    QPointer<QWidget> widget_;
    QString url_;
    QString title_;
    QString markup_;
    bool hasDocument_ = false;
    LoadOutcome outcome_ = LoadOutcome::Unreachable;
    quint64 navigationCount_ = 0;
    quint64 completed_ = 0;
    QStringList navigations_;
    int refreshes_ = 0;
    QString failingAddress_;
};

class FakeFileDialog final : public FileDialog {
public:
    explicit FakeFileDialog(std::function<QString()> chooser) : chooser_(std::move(chooser)) {}
    void showOpen() override;
    int shown = 0;

private:
    std::function<QString()> chooser_;
};

class FakePlayer final : public PlayerControl {
    Q_OBJECT

public:
    FakePlayer(QStringList& log, QWidget* parent);
    void stop() override;
    void setSource(const QString& path) override;
    void play() override;
    [[nodiscard]] QWidget* widget() const override { return widget_; }
    void setPaused(bool paused) override;
    void seekTo(double seconds) override;
    void setVolume(int percent) override;
    void setMuted(bool muted) override;
    void setSubtitlesShown(bool shown) override;
    [[nodiscard]] bool subtitlesShown() const override { return subtitles_; }
    [[nodiscard]] bool hasFile() const override { return hasFile_; }
    [[nodiscard]] bool hasStarted() const override { return hasFile_ && !startHeld_; }
    [[nodiscard]] bool isPaused() const override { return paused_; }
    [[nodiscard]] double position() const override { return position_; }
    [[nodiscard]] double duration() const override { return hasFile_ ? duration_ : 0; }
    [[nodiscard]] int volume() const override { return volume_; }
    [[nodiscard]] bool isMuted() const override { return muted_; }
    [[nodiscard]] QList<MediaTrack> tracks() const override;
    bool selectTrack(MediaTrack::Kind kind, int id) override;
    bool addSubtitleFile(const QString& path) override;
    void setSubtitleDelay(double seconds) override;
    [[nodiscard]] double subtitleDelay() const override { return subtitleDelay_; }
    void setSubtitleEncoding(const QString& encoding) override;
    [[nodiscard]] QString subtitleEncoding() const override { return encoding_; }
    bool setSpeed(double rate) override;
    [[nodiscard]] double speed() const override { return speed_; }
    void stepFrame(bool forward) override;
    // Writes a picture of videoSize.
    bool saveScreenshot(const QString& path) override;
    void setHardwareDecoding(bool on) override;
    [[nodiscard]] bool hardwareDecoding() const override { return hardwareDecoding_; }
    void showMessage(const QString& text) override;
    [[nodiscard]] QString mediaTitle() const override { return hasFile_ ? title_ : QString(); }

    // The open file plays to its end.
    void finishForTesting();
    // With startLater, a file opened has not started until startForTesting().
    bool startLater = false;
    void startForTesting();
    double duration_ = 5400;
    // The streams of every file opened from now on.
    QList<MediaTrack> fileTracks;
    QSize videoSize{320, 240};
    // Texts shown on the picture, in order.
    QStringList messages;

private:
    QStringList& log_;
    QPointer<QWidget> widget_;
    bool hasFile_ = false;
    bool startHeld_ = false;
    bool paused_ = false;
    bool muted_ = false;
    bool subtitles_ = true;
    double position_ = 0;
    int volume_ = 100;
    QList<MediaTrack> tracks_;
    double subtitleDelay_ = 0;
    QString encoding_;
    double speed_ = 1;
    bool hardwareDecoding_ = true;
    QString source_;
    QString title_;
};

struct RecordedMessage {
    QString prompt;
    int style = 0;
    QString title;
};

// Services for window tests: everything recorded in one ordered log, answers scripted.
class FakeServices : public Services {
public:
    FakeServices();
    ~FakeServices() override;
    Q_DISABLE_COPY_MOVE(FakeServices)

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
    void attachSkin(const QString& skinFile, const QString& password) override;
    [[nodiscard]] QString programFolder() const override;
    [[nodiscard]] QString writableFolderFor(const QString& fileName) const override;
    [[nodiscard]] QPixmap picture(const QString& key) const override;
    [[nodiscard]] QString playerProgramName() const override;
    [[nodiscard]] QStringList volumeControls() const override;
    [[nodiscard]] QString mediaDialogFolder() const override;
    void keepAwake(const void* holder, bool on) override;
    void endProgram(int status) override;
    [[nodiscard]] std::unique_ptr<MediaControls> createMediaControls() override;

    // The pane whose widget is named so inside the window titled windowTitle (any when empty).
    [[nodiscard]] FakeBrowserPane* pane(QStringView name, const QString& windowTitle = {}) const;

    QStringList log;
    QList<RecordedMessage> messages;
    QMap<QString, QString> executables;  // name → path, as found on the search path
    QSet<QString> failingPrograms;       // starting these fails
    bool openUrlFails = false;
    QList<int> answers;  // consumed in order; an empty queue answers No / OK
    // Called inside a message box, before it answers: lets a test look at the state then.
    std::function<void(const RecordedMessage&)> onMessage;
    std::function<bool(const QString&, const QString&)> downloader;
    std::function<QString()> fileChooser;
    int endedWith = -1;
    QString programFolderPath;
    mutable int writableFolderProbes = 0;
    QSet<const void*> awake;  // who keeps the screen awake now
    QString playerProgram = QStringLiteral("QvodPlayer");
    // The volume controls tried, in order.
    QStringList mixers{QStringLiteral("pavucontrol"), QStringLiteral("kmix")};
    // Navigations to this address throw in every pane, as a failing browser call would.
    QString failingAddress;
    // Makes the desktop's media controls; none when unset.
    std::function<std::unique_ptr<MediaControls>()> mediaControls;

private:
    QTemporaryDir folder_;
    QList<QPointer<FakeBrowserPane>> panes_;
};

}  // namespace tivora::test
