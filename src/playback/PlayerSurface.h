#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>

class QMenu;

namespace tivora {

class PlayerActions;
class PlayerBar;
class PlayerControl;

// What the player control shows in its rectangle: the video with the control bar at its bottom
// edge. It takes the player's keys and mouse gestures and can show the video full screen, in a
// window of its own, leaving its rectangle (and the window's layout) as it was.
class PlayerSurface final : public QWidget {
    Q_OBJECT

public:
    static constexpr int kIdleMilliseconds = 2000;

    PlayerSurface(PlayerControl& player, QWidget* parent);
    ~PlayerSurface() override;
    Q_DISABLE_COPY_MOVE(PlayerSurface)

    [[nodiscard]] PlayerBar* bar() const;
    [[nodiscard]] PlayerActions* actions() const;
    [[nodiscard]] bool inFullScreen() const { return !stage_.isNull(); }
    // The full-screen window while it is shown.
    [[nodiscard]] QWidget* stage() const { return stage_; }
    void setFullScreen(bool on);

    // Space, arrows (Shift: a minute), M, F, Esc, Z/X subtitle delay, [ ] Backspace speed,
    // . and , frames, S screenshot; true when the key was the player's.
    bool handleKey(int key, Qt::KeyboardModifiers modifiers);

    // The right-click menu, opened at a point of the screen; it deletes itself when closed.
    QMenu* showMenu(const QPoint& globalPosition);

Q_SIGNALS:
    void fullScreenChanged(bool on);
    // The right-click menu holds the player's entries; the host may add its own.
    void menuAboutToShow(QMenu* menu);
    // Local files dropped on the video.
    void filesDropped(const QStringList& paths);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showControls();
    void hideControlsWhenIdle();

    PlayerControl& player_;
    QPointer<QWidget> content_;
    QPointer<PlayerBar> bar_;
    QPointer<PlayerActions> actions_;
    QPointer<QWidget> stage_;
    QTimer idle_;
};

}  // namespace tivora
