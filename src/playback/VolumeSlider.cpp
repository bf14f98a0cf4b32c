#include "playback/VolumeSlider.h"

#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionSlider>

namespace tivora {

VolumeSlider::VolumeSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {}

int VolumeSlider::valueAt(int x) const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect groove =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    const QRect handle =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    const int span = std::max(1, groove.width() - handle.width());
    return QStyle::sliderValueFromPosition(minimum(), maximum(),
                                           x - groove.x() - handle.width() / 2, span);
}

void VolumeSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        // Then the press goes on as a drag of the handle from there.
        setValue(valueAt(event->position().toPoint().x()));
    }
    QSlider::mousePressEvent(event);
}

}  // namespace tivora
