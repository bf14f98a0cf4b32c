#include "playback/SeekSlider.h"

#include "playback/PlaybackTime.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolTip>

namespace tivora {

SeekSlider::SeekSlider(QWidget* parent) : GrooveSlider(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    setRange(0, 0);
}

bool SeekSlider::event(QEvent* event) {
    // The tooltip the pointer rests on tells the time under it, not the bar's general hint.
    if (event->type() == QEvent::ToolTip && maximum() > minimum()) {
        const auto* help = static_cast<QHelpEvent*>(event);
        QToolTip::showText(help->globalPos(),
                           playback::formatTime(valueAt(help->pos().x()) / 1000.0), this);
        return true;
    }
    return GrooveSlider::event(event);
}

void SeekSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || maximum() <= minimum()) {
        GrooveSlider::mousePressEvent(event);
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
