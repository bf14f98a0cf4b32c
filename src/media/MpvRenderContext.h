#pragma once

#include <QMutex>
#include <QObject>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QSize>
#include <QThread>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

struct mpv_handle;
struct mpv_render_context;
class QWindow;

namespace tivora {

// mpv's OpenGL renderer, drawing on a thread of its own as mpv advises (where the window system
// allows it): a frame is drawn as soon as mpv hands it over, whatever the interface thread is busy
// with, and mpv never waits for that thread. It is shown at its time, or at once when the window
// asks for a redraw meanwhile. The renderer is freed with its context current on a surface of its
// own, so it does not matter whether the window it drew into is still there.
class MpvRenderContext final : public QObject {
    Q_OBJECT

public:
    // What the window wants drawn. Set from the interface thread.
    struct View {
        QSize pixels;          // the window's size in device pixels
        bool exposed = false;  // nothing is drawn into a window that is not
        bool picture = false;  // mpv's picture; else plain black
        bool onTime = true;    // a frame waits for its time to be shown
    };

    // Null when no OpenGL context can be made or mpv refuses it.
    [[nodiscard]] static std::unique_ptr<MpvRenderContext> create(mpv_handle* core);
    ~MpvRenderContext() override;
    Q_DISABLE_COPY_MOVE(MpvRenderContext)

    // The format a window must have to be drawn into.
    [[nodiscard]] QSurfaceFormat format() const { return format_; }
    // Draws into the window from now on, as the view says, and draws it once at once when asked.
    void show(QWindow* window, const View& view, bool redraw = true);
    // Draws no more into the window; returns once a draw under way is done. Before the window's
    // native surface goes.
    void forget(QWindow* window);

private:
    class Renderer;
    struct Target {
        QWindow* window = nullptr;
        View view;
        [[nodiscard]] bool drawable() const {
            return window != nullptr && view.exposed && !view.pixels.isEmpty();
        }
        // A file is starting, and its picture is to be shown.
        [[nodiscard]] bool startsPicture() const { return view.picture && !view.onTime; }
    };

    MpvRenderContext();
    // Runs on the render thread and returns when done.
    void onRenderer(const std::function<void()>& call);
    // Returns once the render thread draws no more into the window it had.
    void leaveWindow();
    static void onUpdate(void* self);
    // A frame waiting for its time on the render thread is shown at once: the window wants
    // something else drawn, or nothing.
    void interrupt();
    [[nodiscard]] std::uint64_t interruptions() const;
    // Returns at the deadline, or sooner once interrupted after interruptions() gave the count.
    void waitUntil(std::chrono::steady_clock::time_point deadline,
                   std::uint64_t interruptions) const;
    [[nodiscard]] Target target() const;

    QSurfaceFormat format_;
    QOffscreenSurface offscreen_;
    QThread thread_;
    std::unique_ptr<Renderer> renderer_;
    mutable QMutex mutex_;
    Target target_;  // under mutex_
    // A redraw is on its way to the render thread; taken back by any draw that comes first.
    std::atomic<bool> redrawAsked_ = false;
    // While a file started, a redraw mpv asked for was not drawn, and mpv's picture was not
    // drawn since.
    std::atomic<bool> redrawSkipped_ = false;
    mutable std::mutex waitMutex_;
    mutable std::condition_variable waitEnded_;
    std::uint64_t interruptions_ = 0;  // under waitMutex_
};

}  // namespace tivora
