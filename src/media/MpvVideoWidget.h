#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>

struct mpv_handle;

namespace tivora {

class MpvVideoWindow;

// The video area: mpv's picture drawn through its render API into a native window of its own,
// swapped straight to the screen, so a frame costs what it costs mpv and the rest of the
// window is not recomposed for it. Mouse gestures on the picture reach this widget as if it
// had them; it never takes the keyboard focus.
class MpvVideoWidget final : public QWidget {
    Q_OBJECT

public:
    MpvVideoWidget(mpv_handle* mpv, QWidget* parent);
    ~MpvVideoWidget() override;
    Q_DISABLE_COPY_MOVE(MpvVideoWidget)

    // Frees the render context while its OpenGL context still exists; the core must outlive it.
    void releaseRenderContext();
    // True when no picture can be drawn here; mpv goes on with the sound.
    [[nodiscard]] bool renderFailed() const;
    // Between files the area is plain black; a late frame update must not bring the old picture
    // back.
    void setPlaying(bool playing);
    // What the screen shows in the widget's rectangle, in device pixels.
    [[nodiscard]] QImage grabFrameForTesting() const;

protected:
    bool event(QEvent* event) override;

private:
    QPointer<MpvVideoWindow> window_;
};

}  // namespace tivora
