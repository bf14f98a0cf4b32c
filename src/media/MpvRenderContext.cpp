#include "media/MpvRenderContext.h"

#include "media/MpvLibrary.h"
#include "media/MpvPlatform.h"

#include <QMutexLocker>
#include <QOpenGLFunctions>
#include <QTimer>
#include <QWindow>

#include <mpv/render_gl.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace tivora {
namespace {

void* getProcAddress(void* /*context*/, const char* name) {
    QOpenGLContext* context = QOpenGLContext::currentContext();
    return context != nullptr ? reinterpret_cast<void*>(context->getProcAddress(name)) : nullptr;
}

}  // namespace

// Lives on the render thread, with the OpenGL context and mpv's renderer it made there.
class MpvRenderContext::Renderer final : public QObject {
public:
    Renderer(MpvRenderContext& owner, QOffscreenSurface& offscreen)
        : owner_(owner), offscreen_(offscreen) {}

    bool start(mpv_handle* core) {
        core_ = core;
        gl_ = std::make_unique<QOpenGLContext>();
        if (!gl_->create() || !gl_->makeCurrent(&offscreen_)) {
            return false;
        }
        mpv_opengl_init_params glInit{&getProcAddress, nullptr};
        std::vector<mpv_render_param> params{
            {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_OPENGL)},
            {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &glInit},
        };
        addWindowSystemParams(params);
        params.push_back({MPV_RENDER_PARAM_INVALID, nullptr});
        const int created = libmpv().render_context_create(&render_, core, params.data());
        if (created < 0) {
            render_ = nullptr;
            return false;
        }
        libmpv().render_context_set_update_callback(render_, &MpvRenderContext::onUpdate, &owner_);
        return true;
    }

    [[nodiscard]] QSurfaceFormat format() const { return gl_->format(); }

    void finish(QThread* home) {
        if (render_ != nullptr) {
            // Also waits for an update callback under way.
            gl_->makeCurrent(&offscreen_);
            libmpv().render_context_free(render_);
            gl_->doneCurrent();
            render_ = nullptr;
        }
        gl_.reset();
        // This object is freed on the thread that made it, once this one has ended.
        moveToThread(home);
    }

    // Asked for by the window; one draw for all asked for since the last. While a file starts in a
    // window that shows a picture, the window waits a moment for the file's first frame instead (it
    // was uncovered by the open dialog, say): drawing the picture it replaces again would take the
    // time that frame is being decoded in. A window that shows nothing yet is drawn at once.
    void redraw() {
        const Target target = owner_.target();
        if (target.startsPicture() && pictureIn_ == target.window) {
            if (!holding_) {
                holding_ = true;
                QTimer::singleShot(kLongestHold, this, [this] {
                    holding_ = false;
                    if (owner_.redrawAsked_.exchange(false)) {
                        draw();
                    }
                });
            }
            return;
        }
        if (owner_.redrawAsked_.exchange(false)) {
            draw();
        }
    }

    // mpv has something new: a frame is drawn at once, and with it whatever the window asked.
    void update() {
        if (render_ == nullptr) {
            return;
        }
        // On the interface thread, Qt's own drawing may have made another context current.
        if (QOpenGLContext::currentContext() != gl_.get()) {
            gl_->makeCurrent(&offscreen_);
        }
        if ((libmpv().render_context_update(render_) & MPV_RENDER_UPDATE_FRAME) == 0) {
            return;
        }
        if (redrawWhileStarting()) {
            // mpv shows again what it showed last, or black once the file it replaces has let go
            // of it: the window shows the one already, and the other would only flash between
            // two films and take the time the first frame is being decoded in.
            skipFrame();
            owner_.redrawSkipped_ = true;
            return;
        }
        owner_.redrawAsked_ = false;
        draw();
    }

    void draw() {
        if (render_ == nullptr) {
            return;
        }
        // Taken before the view: whatever the window asks from now on cuts a wait short.
        const std::uint64_t interruptions = owner_.interruptions();
        const Target target = owner_.target();
        if (!target.drawable() || !gl_->makeCurrent(target.window)) {
            if (gl_->makeCurrent(&offscreen_)) {
                skipFrame();
            }
            return;
        }
        const QSize pixels = target.view.pixels;
        if (target.view.picture) {
            // mpv clears what the picture does not cover.
            mpv_opengl_fbo fbo{static_cast<int>(gl_->defaultFramebufferObject()), pixels.width(),
                               pixels.height(), 0};
            int flipY = 1;
            // The frame's time is waited for here rather than inside mpv, so that a redraw the
            // window asks for meanwhile (it was uncovered, resized) need not wait for it.
            int block = 0;
            const std::int64_t showAt = target.view.onTime ? frameTime() : 0;
            mpv_render_param params[] = {
                {MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
                {MPV_RENDER_PARAM_FLIP_Y, &flipY},
                {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block},
                {MPV_RENDER_PARAM_INVALID, nullptr},
            };
            libmpv().render_context_render(render_, params);
            waitUntil(showAt, interruptions);
        } else {
            skipFrame();
            QOpenGLFunctions* gl = gl_->functions();
            gl->glViewport(0, 0, pixels.width(), pixels.height());
            gl->glClearColor(0, 0, 0, 1);
            gl->glClear(GL_COLOR_BUFFER_BIT);
        }
        gl_->swapBuffers(target.window);
        pictureIn_ = target.view.picture ? target.window : nullptr;
        if (target.view.picture) {
            libmpv().render_context_report_swap(render_);
            owner_.redrawSkipped_ = false;
        }
        // Left current there for mpv's next calls, until the window goes.
    }

    // The window is no longer drawn into: its native surface may go.
    void leaveWindow() {
        pictureIn_ = nullptr;
        if (gl_ != nullptr) {
            gl_->makeCurrent(&offscreen_);
        }
    }

private:
    // What mpv says of the frame it hands over next; no flags when it has none.
    [[nodiscard]] mpv_render_frame_info nextFrame() const {
        mpv_render_frame_info info{};
        if (libmpv().render_context_get_info(render_, {MPV_RENDER_PARAM_NEXT_FRAME_INFO, &info}) <
            0) {
            return {};
        }
        return info;
    }

    [[nodiscard]] bool redrawWhileStarting() const {
        const View view = owner_.target().view;
        return !view.onTime && view.picture &&
               (nextFrame().flags & MPV_RENDER_FRAME_INFO_REDRAW) != 0;
    }

    // When the frame mpv hands over next is to be shown, in mpv's clock; 0 for at once.
    [[nodiscard]] std::int64_t frameTime() const {
        const mpv_render_frame_info info = nextFrame();
        const bool timed = (info.flags & MPV_RENDER_FRAME_INFO_PRESENT) != 0 &&
                           (info.flags & MPV_RENDER_FRAME_INFO_REDRAW) == 0;
        return timed ? info.target_time : 0;
    }

    void waitUntil(std::int64_t showAt, std::uint64_t interruptions) const {
        if (showAt <= 0) {
            return;
        }
        // Frames come at most a few hundredths of a second ahead; mpv itself waits no longer.
        const std::chrono::microseconds left{
            std::min<std::int64_t>(showAt - libmpv().get_time_us(core_), kLongestWait.count())};
        if (left.count() > 0) {
            owner_.waitUntil(std::chrono::steady_clock::now() + left, interruptions);
        }
    }

    static constexpr std::chrono::microseconds kLongestWait{200000};
    // A file that takes longer to show its first frame has its window drawn meanwhile.
    static constexpr std::chrono::milliseconds kLongestHold{100};

    // A frame nobody sees is still taken and reported shown: mpv would wait for it to be.
    void skipFrame() {
        int skip = 1;
        int block = 0;
        mpv_render_param params[] = {
            {MPV_RENDER_PARAM_SKIP_RENDERING, &skip},
            {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block},
            {MPV_RENDER_PARAM_INVALID, nullptr},
        };
        libmpv().render_context_render(render_, params);
        libmpv().render_context_report_swap(render_);
    }

    MpvRenderContext& owner_;
    QOffscreenSurface& offscreen_;
    // Made and freed on the render thread, with what Qt keeps for it.
    std::unique_ptr<QOpenGLContext> gl_;
    mpv_render_context* render_ = nullptr;
    mpv_handle* core_ = nullptr;
    bool holding_ = false;                // a redraw waits for a file's first frame
    const QWindow* pictureIn_ = nullptr;  // the window whose last frame drawn was mpv's picture
};

MpvRenderContext::MpvRenderContext() = default;

std::unique_ptr<MpvRenderContext> MpvRenderContext::create(mpv_handle* core) {
    std::unique_ptr<MpvRenderContext> made(new MpvRenderContext);
    made->offscreen_.setFormat(QSurfaceFormat::defaultFormat());
    made->offscreen_.create();
    made->renderer_ = std::make_unique<Renderer>(*made, made->offscreen_);
    // Where the window system cannot draw from another thread, the interface thread draws.
    if (QOpenGLContext::supportsThreadedOpenGL()) {
        made->thread_.setObjectName(QStringLiteral("tivora:video"));
        made->renderer_->moveToThread(&made->thread_);
        made->thread_.start();
    }
    bool started = false;
    Renderer* renderer = made->renderer_.get();
    made->onRenderer([&] { started = renderer->start(core); });
    if (!started) {
        return nullptr;
    }
    made->format_ = renderer->format();
    return made;
}

MpvRenderContext::~MpvRenderContext() {
    interrupt();
    Renderer* renderer = renderer_.get();
    QThread* home = thread();
    onRenderer([renderer, home] { renderer->finish(home); });
    thread_.quit();
    thread_.wait();
    renderer_.reset();
}

void MpvRenderContext::onRenderer(const std::function<void()>& call) {
    if (thread_.isRunning()) {
        QMetaObject::invokeMethod(renderer_.get(), call, Qt::BlockingQueuedConnection);
    } else {
        call();
    }
}

void MpvRenderContext::show(QWindow* window, const View& view, bool redraw) {
    bool undrawable = false;
    bool heldEnds = false;
    {
        const QMutexLocker lock(&mutex_);
        const Target next{window, view};
        // What mpv redrew after the file's first frame (a message, a subtitle chosen as it
        // opened) shows once the file has started, also while it is paused.
        if (!target_.view.onTime && view.onTime && redrawSkipped_) {
            redraw = true;
        }
        // A redraw held for the first frame is drawn once the file no longer starts with one.
        heldEnds = target_.startsPicture() && !next.startsPicture();
        undrawable = target_.drawable() && (!next.drawable() || next.window != target_.window);
        target_ = next;
    }
    // A window that hides may lose its native surface before it says so.
    if (undrawable) {
        leaveWindow();
    }
    if ((redraw && !redrawAsked_.exchange(true)) || (heldEnds && redrawAsked_)) {
        interrupt();
        Renderer* renderer = renderer_.get();
        QMetaObject::invokeMethod(
            renderer, [renderer] { renderer->redraw(); }, Qt::QueuedConnection);
    }
}

void MpvRenderContext::forget(QWindow* window) {
    {
        const QMutexLocker lock(&mutex_);
        if (target_.window != window) {
            return;
        }
        target_ = {};
    }
    leaveWindow();
}

std::uint64_t MpvRenderContext::interruptions() const {
    const std::lock_guard lock(waitMutex_);
    return interruptions_;
}

void MpvRenderContext::interrupt() {
    {
        const std::lock_guard lock(waitMutex_);
        ++interruptions_;
    }
    waitEnded_.notify_all();
}

void MpvRenderContext::waitUntil(std::chrono::steady_clock::time_point deadline,
                                 std::uint64_t interruptions) const {
    std::unique_lock lock(waitMutex_);
    // A redraw asked for just before the draw began cuts it short too.
    waitEnded_.wait_until(lock, deadline,
                          [&] { return interruptions_ != interruptions || redrawAsked_; });
}

void MpvRenderContext::leaveWindow() {
    // A frame waiting for its time is shown now, not after the native surface has gone.
    interrupt();
    // Once this has run on the render thread, no draw into the window is under way.
    Renderer* renderer = renderer_.get();
    onRenderer([renderer] { renderer->leaveWindow(); });
}

MpvRenderContext::Target MpvRenderContext::target() const {
    const QMutexLocker lock(&mutex_);
    return target_;
}

void MpvRenderContext::onUpdate(void* self) {
    // Called on one of mpv's threads.
    Renderer* renderer = static_cast<MpvRenderContext*>(self)->renderer_.get();
    QMetaObject::invokeMethod(
        renderer, [renderer] { renderer->update(); }, Qt::QueuedConnection);
}

}  // namespace tivora
