#include "media/MpvRenderContext.h"

#include "media/MpvLibrary.h"
#include "media/MpvPlatform.h"

#include <QOpenGLFunctions>
#include <QWindow>

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

std::unique_ptr<MpvRenderContext> MpvRenderContext::create(mpv_handle* core) {
    std::unique_ptr<MpvRenderContext> made(new MpvRenderContext);
    made->offscreen_.setFormat(made->gl_.format());
    made->offscreen_.create();
    if (!made->gl_.create() || !made->gl_.makeCurrent(&made->offscreen_)) {
        return nullptr;
    }
    mpv_opengl_init_params glInit{&getProcAddress, nullptr};
    std::vector<mpv_render_param> params{
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_OPENGL)},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &glInit},
    };
    addWindowSystemParams(params);
    params.push_back({MPV_RENDER_PARAM_INVALID, nullptr});
    const int created = libmpv().render_context_create(&made->render_, core, params.data());
    made->gl_.doneCurrent();
    if (created < 0) {
        made->render_ = nullptr;
        return nullptr;
    }
    libmpv().render_context_set_update_callback(made->render_, &MpvRenderContext::onUpdate,
                                                made.get());
    return made;
}

MpvRenderContext::~MpvRenderContext() {
    if (render_ == nullptr) {
        return;
    }
    // Also waits for an update callback under way.
    gl_.makeCurrent(&offscreen_);
    libmpv().render_context_free(render_);
    gl_.doneCurrent();
}

void MpvRenderContext::draw(QWindow& window, bool picture, bool onTime) {
    if (!gl_.makeCurrent(&window)) {
        return;
    }
    const qreal ratio = window.devicePixelRatio();
    const int width = toDevicePixels(window.width(), ratio);
    const int height = toDevicePixels(window.height(), ratio);
    if (picture) {
        // mpv clears what the picture does not cover.
        mpv_opengl_fbo fbo{static_cast<int>(gl_.defaultFramebufferObject()), width, height, 0};
        int flipY = 1;
        int block = onTime ? 1 : 0;
        mpv_render_param params[] = {
            {MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
            {MPV_RENDER_PARAM_FLIP_Y, &flipY},
            {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block},
            {MPV_RENDER_PARAM_INVALID, nullptr},
        };
        libmpv().render_context_render(render_, params);
    } else {
        QOpenGLFunctions* gl = gl_.functions();
        gl->glViewport(0, 0, width, height);
        gl->glClearColor(0, 0, 0, 1);
        gl->glClear(GL_COLOR_BUFFER_BIT);
    }
    gl_.swapBuffers(&window);
    if (picture) {
        libmpv().render_context_report_swap(render_);
    }
}

void MpvRenderContext::onUpdate(void* self) {
    // Called on one of mpv's threads.
    QMetaObject::invokeMethod(static_cast<MpvRenderContext*>(self), &MpvRenderContext::takeUpdate,
                              Qt::QueuedConnection);
}

void MpvRenderContext::takeUpdate() {
    if ((libmpv().render_context_update(render_) & MPV_RENDER_UPDATE_FRAME) != 0) {
        Q_EMIT frameReady();
    }
}

}  // namespace tivora
