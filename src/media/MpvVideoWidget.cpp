#include "media/MpvVideoWidget.h"

#include "media/MpvVideoWindow.h"

#include <QPixmap>
#include <QScreen>
#include <QVBoxLayout>

namespace tivora {

MpvVideoWidget::MpvVideoWidget(MpvRenderContext& render, QWidget* parent)
    : QWidget(parent), window_(new MpvVideoWindow(render, this)) {
    QWidget* container = createWindowContainer(window_, this);
    container->setFocusPolicy(Qt::NoFocus);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(container);
}

void MpvVideoWidget::setStarted() {
    if (window_) {
        window_->setStarted();
    }
}

void MpvVideoWidget::setPlaying(bool playing) {
    if (window_) {
        window_->setPlaying(playing);
    }
}

QImage MpvVideoWidget::grabFrame() const {
    const QPoint at = mapTo(window(), QPoint(0, 0));
    return screen()->grabWindow(window()->winId(), at.x(), at.y(), width(), height()).toImage();
}

bool MpvVideoWidget::event(QEvent* event) {
    // The native window has a pointer of its own: it follows the one set here.
    if (event->type() == QEvent::CursorChange && window_) {
        if (testAttribute(Qt::WA_SetCursor)) {
            window_->setCursor(cursor());
        } else {
            window_->unsetCursor();
        }
    }
    return QWidget::event(event);
}

}  // namespace tivora
