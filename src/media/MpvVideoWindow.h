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

    void setPlaying(bool playing);
    // A file has opened: its first frame is drawn as soon as mpv has it.
    void awaitFirstFrame() { firstFrame_ = playing_; }

protected:
    bool event(QEvent* event) override;
    void exposeEvent(QExposeEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void frameReady();
    void draw();

    // Owned by the core, which may go first.
    QPointer<MpvRenderContext> render_;
    QObject* pointerTarget_;
    bool playing_ = false;
    // The next frame mpv has ready is a file's first.
    bool firstFrame_ = false;
};

}  // namespace tivora
