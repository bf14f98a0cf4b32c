#pragma once

#include <QSlider>

namespace tivora {

// The volume bar: a click jumps to where it lands, rather than a page at a time.
class VolumeSlider final : public QSlider {
    Q_OBJECT

public:
    explicit VolumeSlider(QWidget* parent);

    // The value at a point of the groove.
    [[nodiscard]] int valueAt(int x) const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace tivora
