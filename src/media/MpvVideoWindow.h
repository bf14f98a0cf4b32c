#pragma once

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QWindow>

struct mpv_handle;
struct mpv_render_context;

namespace tivora {

// The native window mpv draws into, at its size in device pixels. The render context is made
// with the window, before it is first shown, so a file opened at once finds it. Pointer events
// are handed to the widget that holds it.
class MpvVideoWindow final : public QWindow {
    Q_OBJECT

public:
    MpvVideoWindow(mpv_handle* mpv, QObject* pointerTarget);
    ~MpvVideoWindow() override;
    Q_DISABLE_COPY_MOVE(MpvVideoWindow)

    void releaseRenderContext();
    [[nodiscard]] bool renderFailed() const { return render_ == nullptr; }
    void setPlaying(bool playing);

protected:
    bool event(QEvent* event) override;
    void exposeEvent(QExposeEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    static void onMpvUpdate(void* self);
    void renderNewFrame();
    void draw();

    mpv_handle* mpv_;
    QObject* pointerTarget_;
    QOpenGLContext context_;
    QOffscreenSurface offscreen_;
    mpv_render_context* render_ = nullptr;
    bool playing_ = false;
};

}  // namespace tivora
