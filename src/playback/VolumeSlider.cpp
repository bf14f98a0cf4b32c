#include "playback/VolumeSlider.h"

#include <QMouseEvent>

namespace tivora {

VolumeSlider::VolumeSlider(QWidget* parent) : GrooveSlider(parent) {}

void VolumeSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        // Then the press goes on as a drag of the handle from there.
        setValue(valueAt(event->position().toPoint().x()));
    }
    GrooveSlider::mousePressEvent(event);
}

}  // namespace tivora
