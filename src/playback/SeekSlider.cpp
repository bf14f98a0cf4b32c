#include "playback/SeekSlider.h"

#include "playback/PlaybackTime.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QToolTip>

namespace tivora {

SeekSlider::SeekSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    setRange(0, 0);
}

int SeekSlider::valueAt(int x) const {
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

bool SeekSlider::event(QEvent* event) {
    // The tooltip the pointer rests on tells the time under it, not the bar's general hint.
    if (event->type() == QEvent::ToolTip && maximum() > minimum()) {
        const auto* help = static_cast<QHelpEvent*>(event);
        QToolTip::showText(help->globalPos(),
                           playback::formatTime(valueAt(help->pos().x()) / 1000.0), this);
        return true;
    }
    return QSlider::event(event);
}

void SeekSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || maximum() <= minimum()) {
        QSlider::mousePressEvent(event);
        return;
    }
    dragging_ = true;
    const int target = valueAt(event->position().toPoint().x());
    setValue(target);
    Q_EMIT seekRequested(target);
    event->accept();
}

void SeekSlider::mouseMoveEvent(QMouseEvent* event) {
    const int at = valueAt(event->position().toPoint().x());
    if (maximum() > minimum()) {
        QToolTip::showText(event->globalPosition().toPoint(), playback::formatTime(at / 1000.0),
                           this);
    }
    if (dragging_) {
        setValue(at);
        Q_EMIT seekRequested(at);
    }
    event->accept();
}

void SeekSlider::mouseReleaseEvent(QMouseEvent* event) {
    dragging_ = false;
    event->accept();
}

}  // namespace tivora
