#pragma once

#include <QOpenGLWidget>

struct mpv_handle;
struct mpv_render_context;

namespace tivora {

// Draws mpv's video into the widget through the render API, at the widget's size in device
// pixels. The core must outlive the render context: see releaseRenderContext().
class MpvVideoWidget final : public QOpenGLWidget {
    Q_OBJECT

public:
    MpvVideoWidget(mpv_handle* mpv, QWidget* parent);
    ~MpvVideoWidget() override;
    Q_DISABLE_COPY_MOVE(MpvVideoWidget)

    // Frees the render context while its OpenGL context still exists.
    void releaseRenderContext();
    // True once the render context could not be made.
    [[nodiscard]] bool renderFailed() const { return renderFailed_; }
    // Between files the area is plain black; a late frame update must not bring the old picture
    // back.
    void setPlaying(bool playing);

Q_SIGNALS:
    // No picture can be drawn here; mpv goes on with the sound.
    void renderUnavailable();

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    static void onMpvUpdate(void* self);
    void requestPaint();

    mpv_handle* mpv_;
    mpv_render_context* render_ = nullptr;
    bool renderFailed_ = false;
    bool playing_ = false;
};

}  // namespace tivora
