#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>

namespace tivora {
namespace test {
class MpvProbe;
}

class MpvRenderContext;
class MpvVideoWindow;

// The video area: mpv's picture drawn through its render API into a native window of its own,
// swapped straight to the screen, so a frame costs what it costs mpv and the rest of the
// window is not recomposed for it. Mouse gestures on the picture reach this widget as if it
// had them; it never takes the keyboard focus.
class MpvVideoWidget final : public QWidget {
    Q_OBJECT

public:
    MpvVideoWidget(MpvRenderContext& render, QWidget* parent);

    // Between files the area is plain black; a late frame update must not bring the old picture
    // back.
    void setPlaying(bool playing);
    void setStarted();

protected:
    bool event(QEvent* event) override;

private:
    friend class test::MpvProbe;

    // What the screen shows in the widget's rectangle, in device pixels.
    [[nodiscard]] QImage grabFrame() const;

    QPointer<MpvVideoWindow> window_;
};

}  // namespace tivora
