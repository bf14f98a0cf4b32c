#include "playback/GrooveSlider.h"

#include <QStyle>
#include <QStyleOptionSlider>

#include <algorithm>

namespace tivora {

GrooveSlider::GrooveSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {}

int GrooveSlider::valueAt(int x) const {
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

}  // namespace tivora
