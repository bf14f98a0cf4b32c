#include "media/MpvVideoWidget.h"

#include "media/MpvPlayer.h"
#include "media/MpvVideoWindow.h"

#include <QPixmap>
#include <QScreen>
#include <QVBoxLayout>

namespace tivora {

MpvVideoWidget::MpvVideoWidget(mpv_handle* mpv, QWidget* parent)
    : QWidget(parent), window_(new MpvVideoWindow(mpv, this)) {
    QWidget* container = createWindowContainer(window_, this);
    container->setFocusPolicy(Qt::NoFocus);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(container);
}

MpvVideoWidget::~MpvVideoWidget() {
    // The player that draws here goes first, while this widget is still whole: it hands the render
    // context back through it, then ends the core. As a child it would go only once this widget
    // was half destroyed.
    qDeleteAll(findChildren<MpvPlayer*>(Qt::FindDirectChildrenOnly));
    releaseRenderContext();
}

void MpvVideoWidget::releaseRenderContext() {
    if (window_) {
        window_->releaseRenderContext();
    }
}

bool MpvVideoWidget::renderFailed() const {
    return !window_.isNull() && window_->renderFailed();
}

void MpvVideoWidget::setPlaying(bool playing) {
    if (window_) {
        window_->setPlaying(playing);
    }
}

QImage MpvVideoWidget::grabFrameForTesting() const {
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
