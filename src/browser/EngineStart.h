#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

class QWebEngineProfile;
class QWidget;

namespace tivora {

class BrowserPane;
class BrowserProfile;

// When the web engine starts. Making the shared profile starts Chromium, which costs more than
// everything else the windows do at start; so panes hold their first loads until start(), which
// the program calls once its main window is on the screen. A pane that needs its page at once
// (a new window's target, say) starts the engine by asking for the profile.
class EngineStart final : public QObject {
    Q_OBJECT

public:
    using MakeProfile = std::function<std::unique_ptr<BrowserProfile>()>;

    explicit EngineStart(MakeProfile makeProfile, QObject* parent = nullptr);
    ~EngineStart() override;
    Q_DISABLE_COPY_MOVE(EngineStart)

    // Held loads start by themselves this long after the first was held, should nothing call
    // start() (a program without the first-paint hook).
    static constexpr std::chrono::milliseconds kLatestStart{1000};
    // What the window system is given to put the first frame on the screen before the engine
    // starts (the first-paint benchmark sees the frame no later with 5 ms than with 30).
    static constexpr std::chrono::milliseconds kScreenTime{5};
    // How long the other held loads wait for the first pane's document at most.
    static constexpr std::chrono::milliseconds kFirstAlone{2000};

    [[nodiscard]] bool started() const { return profile_ != nullptr; }
    // The shared profile; makes it, and so starts the engine, when it is not made yet.
    [[nodiscard]] QWebEngineProfile* profile();

    // Runs load once the engine has started, at once when it has. One held load per holder: a
    // later one replaces it. Dropped when holder goes first.
    void whenStarted(QObject* holder, std::function<void()> load);
    // Drops holder's held load.
    void forget(const QObject* holder);

    // Starts the engine and runs the held loads in the order they came.
    void start();
    // Starts it as soon as window's first frame has been handed to the window system: once the
    // shown window is exposed and the event loop has come round to wait.
    void startAfterFirstPaint(QWidget* window);
    // The pane whose page matters first: at the start the other held loads wait until its
    // document is complete, so that it has the engine to itself.
    void putFirst(BrowserPane* pane);

private:
    struct Held {
        QPointer<QObject> holder;
        std::function<void()> load;
    };
    bool eventFilter(QObject* watched, QEvent* event) override;
    void runHeld();
    static void run(std::vector<Held>& loads);

    MakeProfile makeProfile_;
    std::unique_ptr<BrowserProfile> profile_;
    std::vector<Held> held_;
    QPointer<BrowserPane> first_;
    std::vector<Held> afterFirst_;
    QTimer latest_;
};

}  // namespace tivora
