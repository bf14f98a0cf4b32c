#include "MpvVideoWidget.h"

#include "MpvPlatform.h"

#include <QGuiApplication>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

#include <mpv/client.h>
#include <mpv/render_gl.h>

#include <cmath>
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

}  // namespace

MpvVideoWidget::MpvVideoWidget(mpv_handle* mpv, QWidget* parent)
    : QOpenGLWidget(parent), mpv_(mpv) {}

MpvVideoWidget::~MpvVideoWidget() {
    // The base class destroys the context after this body, when this object is no longer one.
    if (QOpenGLContext* current = context()) {
        disconnect(current, nullptr, this, nullptr);
    }
    releaseRenderContext();
}

void MpvVideoWidget::initializeGL() {
    mpv_opengl_init_params glInit{&getProcAddress, nullptr};
    std::vector<mpv_render_param> params{
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_OPENGL)},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &glInit},
    };
    addWindowSystemParams(params);
    params.push_back({MPV_RENDER_PARAM_INVALID, nullptr});
    if (mpv_render_context_create(&render_, mpv_, params.data()) < 0) {
        render_ = nullptr;
        renderFailed_ = true;
        Q_EMIT renderUnavailable();
        return;
    }
    mpv_render_context_set_update_callback(render_, &MpvVideoWidget::onMpvUpdate, this);
    // Moving the widget to another window replaces its OpenGL context; initializeGL follows.
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this,
            &MpvVideoWidget::releaseRenderContext, Qt::DirectConnection);
}

void MpvVideoWidget::paintGL() {
    QOpenGLFunctions* gl = context()->functions();
    gl->glClearColor(0, 0, 0, 1);
    gl->glClear(GL_COLOR_BUFFER_BIT);
    if (render_ == nullptr || !playing_) {
        return;
    }
    const qreal ratio = devicePixelRatioF();
    mpv_opengl_fbo fbo{static_cast<int>(defaultFramebufferObject()), toDevicePixels(width(), ratio),
                       toDevicePixels(height(), ratio), 0};
    int flipY = 1;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
        {MPV_RENDER_PARAM_FLIP_Y, &flipY},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context_render(render_, params);
}

void MpvVideoWidget::releaseRenderContext() {
    if (render_ == nullptr) {
        return;
    }
    makeCurrent();
    mpv_render_context_free(render_);
    render_ = nullptr;
    doneCurrent();
}

void MpvVideoWidget::onMpvUpdate(void* self) {
    // Called on one of mpv's threads.
    QMetaObject::invokeMethod(static_cast<MpvVideoWidget*>(self), &MpvVideoWidget::requestPaint,
                              Qt::QueuedConnection);
}

void MpvVideoWidget::setPlaying(bool playing) {
    playing_ = playing;
    update();
}

void MpvVideoWidget::requestPaint() {
    update();
}

}  // namespace tivora
