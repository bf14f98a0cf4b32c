#pragma once

#include "playback/GrooveSlider.h"

namespace tivora {

// The volume bar: a click jumps to where it lands, rather than a page at a time.
class VolumeSlider final : public GrooveSlider {
    Q_OBJECT

public:
    explicit VolumeSlider(QWidget* parent);

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace tivora
