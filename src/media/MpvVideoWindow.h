#pragma once

#include <QPointer>
#include <QWindow>

namespace tivora {

class MpvRenderContext;

// The native window mpv draws into, at its size in device pixels. Pointer events are handed to
// the widget that holds it.
class MpvVideoWindow final : public QWindow {
    Q_OBJECT

public:
    MpvVideoWindow(MpvRenderContext& render, QObject* pointerTarget);
    ~MpvVideoWindow() override;
    Q_DISABLE_COPY_MOVE(MpvVideoWindow)

    // Playing begins with a file's start, during which each frame is drawn as it comes: mpv waits
    // for each before going on. The start ends with setStarted().
    void setPlaying(bool playing);
    void setStarted();

protected:
    bool event(QEvent* event) override;
    void exposeEvent(QExposeEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Tells the render context what to draw, and has it drawn once when asked.
    void showView(bool redraw = true);

    // Owned by the core, which may go first.
    QPointer<MpvRenderContext> render_;
    QObject* pointerTarget_;
    bool playing_ = false;
    bool starting_ = false;
};

}  // namespace tivora
