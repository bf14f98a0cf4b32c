#pragma once

#include "playback/GrooveSlider.h"

namespace tivora {

// A seek bar in milliseconds: a click jumps to where it lands, a drag seeks as it goes, and the
// pointer's tooltip tells the time under it.
class SeekSlider final : public GrooveSlider {
    Q_OBJECT

public:
    explicit SeekSlider(QWidget* parent);

    // A drag is under way; the bar then leaves the value to the pointer.
    [[nodiscard]] bool isDragging() const { return dragging_; }

Q_SIGNALS:
    void seekRequested(int milliseconds);

protected:
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool dragging_ = false;
};

}  // namespace tivora
