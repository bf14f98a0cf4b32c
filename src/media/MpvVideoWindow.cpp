#include "media/MpvVideoWindow.h"

#include "media/MpvLibrary.h"
#include "media/MpvPlatform.h"

#include <QCoreApplication>
#include <QOpenGLFunctions>

#include <mpv/client.h>
#include <mpv/render_gl.h>

#include <cmath>
#include <memory>
#include <vector>

namespace tivora {
namespace {

void* getProcAddress(void* /*context*/, const char* name) {
    QOpenGLContext* context = QOpenGLContext::currentContext();
    return context != nullptr ? reinterpret_cast<void*>(context->getProcAddress(name)) : nullptr;
}

int toDevicePixels(int pixels, qreal ratio) {
    return static_cast<int>(std::lround(pixels * ratio));
}

bool isPointerEvent(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
            return true;
        default:
            return false;
    }
}

}  // namespace

MpvVideoWindow::MpvVideoWindow(mpv_handle* mpv, QObject* pointerTarget)
    : mpv_(mpv), pointerTarget_(pointerTarget) {
    setSurfaceType(QSurface::OpenGLSurface);
    // Never shown to the user; lets tools such as bench/ find the video on the X server.
    setTitle(QStringLiteral("tivora-video"));
    // Keys stay with the widgets: the player's keys and the file list's arrows.
    setFlag(Qt::WindowDoesNotAcceptFocus);
    offscreen_.setFormat(context_.format());
    offscreen_.create();
    if (!context_.create() || !context_.makeCurrent(&offscreen_)) {
        return;
    }
    setFormat(context_.format());
    mpv_opengl_init_params glInit{&getProcAddress, nullptr};
    std::vector<mpv_render_param> params{
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_OPENGL)},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &glInit},
    };
    addWindowSystemParams(params);
    params.push_back({MPV_RENDER_PARAM_INVALID, nullptr});
    if (libmpv().render_context_create(&render_, mpv_, params.data()) < 0) {
        render_ = nullptr;
    } else {
        libmpv().render_context_set_update_callback(render_, &MpvVideoWindow::onMpvUpdate, this);
    }
    context_.doneCurrent();
}

MpvVideoWindow::~MpvVideoWindow() {
    releaseRenderContext();
}

void MpvVideoWindow::releaseRenderContext() {
    if (render_ == nullptr) {
        return;
    }
    context_.makeCurrent(&offscreen_);
    libmpv().render_context_free(render_);
    render_ = nullptr;
    context_.doneCurrent();
}

void MpvVideoWindow::setPlaying(bool playing) {
    playing_ = playing;
    requestUpdate();
}

void MpvVideoWindow::draw() {
    if (!isExposed() || !context_.makeCurrent(this)) {
        return;
    }
    const qreal ratio = devicePixelRatio();
    const int width = toDevicePixels(this->width(), ratio);
    const int height = toDevicePixels(this->height(), ratio);
    if (render_ != nullptr && playing_) {
        // mpv clears what the picture does not cover.
        mpv_opengl_fbo fbo{static_cast<int>(context_.defaultFramebufferObject()), width, height, 0};
        int flipY = 1;
        mpv_render_param params[] = {
            {MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
            {MPV_RENDER_PARAM_FLIP_Y, &flipY},
            {MPV_RENDER_PARAM_INVALID, nullptr},
        };
        libmpv().render_context_render(render_, params);
    } else {
        QOpenGLFunctions* gl = context_.functions();
        gl->glViewport(0, 0, width, height);
        gl->glClearColor(0, 0, 0, 1);
        gl->glClear(GL_COLOR_BUFFER_BIT);
    }
    context_.swapBuffers(this);
    if (render_ != nullptr && playing_) {
        libmpv().render_context_report_swap(render_);
    }
}

void MpvVideoWindow::exposeEvent(QExposeEvent* /*event*/) {
    draw();
}

void MpvVideoWindow::resizeEvent(QResizeEvent* /*event*/) {
    // A paused picture is drawn again at the new size.
    draw();
}

bool MpvVideoWindow::event(QEvent* event) {
    if (isPointerEvent(event->type()) && pointerTarget_ != nullptr) {
        const std::unique_ptr<QEvent> copy(event->clone());
        QCoreApplication::sendEvent(pointerTarget_, copy.get());
        return true;
    }
    if (event->type() == QEvent::UpdateRequest) {
        draw();
        return true;
    }
    return QWindow::event(event);
}

void MpvVideoWindow::onMpvUpdate(void* self) {
    // Called on one of mpv's threads.
    QMetaObject::invokeMethod(static_cast<MpvVideoWindow*>(self), &MpvVideoWindow::renderNewFrame,
                              Qt::QueuedConnection);
}

void MpvVideoWindow::renderNewFrame() {
    if (render_ != nullptr &&
        (libmpv().render_context_update(render_) & MPV_RENDER_UPDATE_FRAME) != 0) {
        requestUpdate();
    }
}

}  // namespace tivora
