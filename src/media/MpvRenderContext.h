#pragma once

#include <QObject>
#include <QOffscreenSurface>
#include <QOpenGLContext>

#include <memory>

struct mpv_handle;
struct mpv_render_context;
class QWindow;

namespace tivora {

// mpv's OpenGL renderer together with the OpenGL context it was made in. It is freed with that
// context current on a surface of its own, so it does not matter whether the window it drew into
// is still there.
class MpvRenderContext final : public QObject {
    Q_OBJECT

public:
    // Null when no OpenGL context can be made or mpv refuses it.
    [[nodiscard]] static std::unique_ptr<MpvRenderContext> create(mpv_handle* core);
    ~MpvRenderContext() override;
    Q_DISABLE_COPY_MOVE(MpvRenderContext)

    // The format a window must have to be drawn into.
    [[nodiscard]] QSurfaceFormat format() const { return gl_.format(); }
    // Draws mpv's current frame into the window at its size in device pixels, or plain black
    // without the picture, and shows it; onTime waits for the frame's time to show it.
    void draw(QWindow& window, bool picture, bool onTime = true);

Q_SIGNALS:
    // mpv has a new frame to draw.
    void frameReady();

private:
    MpvRenderContext() = default;
    static void onUpdate(void* self);
    void takeUpdate();

    QOpenGLContext gl_;
    QOffscreenSurface offscreen_;
    mpv_render_context* render_ = nullptr;
};

}  // namespace tivora
