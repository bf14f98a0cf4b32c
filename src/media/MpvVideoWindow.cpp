#include "media/MpvVideoWindow.h"

#include "media/MpvRenderContext.h"

#include <QCoreApplication>
#include <QPlatformSurfaceEvent>

#include <memory>

namespace tivora {
namespace {

bool isPointerEvent(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
            return true;
        default:
            return false;
    }
}

}  // namespace

MpvVideoWindow::MpvVideoWindow(MpvRenderContext& render, QObject* pointerTarget)
    : render_(&render), pointerTarget_(pointerTarget) {
    setSurfaceType(QSurface::OpenGLSurface);
    setFormat(render.format());
    // Never shown to the user; lets tools such as bench/ find the video on the X server.
    setTitle(QStringLiteral("tivora-video"));
    // Keys stay with the widgets: the player's keys and the file list's arrows.
    setFlag(Qt::WindowDoesNotAcceptFocus);
}

MpvVideoWindow::~MpvVideoWindow() {
    if (render_) {
        render_->forget(this);
    }
}

void MpvVideoWindow::setPlaying(bool playing) {
    // A file that replaces another draws over its picture: only black turns to a picture at once.
    const bool changed = playing != playing_;
    playing_ = playing;
    starting_ = playing;
    showView(changed);
}

void MpvVideoWindow::setStarted() {
    // A file with a picture shows it, whatever the file it replaced had asked for.
    const bool changed = !playing_;
    playing_ = true;
    starting_ = false;
    showView(changed);
}

void MpvVideoWindow::showView(bool redraw) {
    if (!render_) {
        return;
    }
    const qreal ratio = devicePixelRatio();
    // While a file starts, frames are shown as they come: the last ones of the file it replaces,
    // and its own first one, have no time worth waiting for.
    render_->show(this,
                  {.pixels = QSize(qRound(width() * ratio), qRound(height() * ratio)),
                   .exposed = isExposed(),
                   .picture = playing_,
                   .onTime = !starting_},
                  redraw);
}

void MpvVideoWindow::exposeEvent(QExposeEvent* /*event*/) {
    showView();
}

void MpvVideoWindow::resizeEvent(QResizeEvent* /*event*/) {
    // A paused picture is drawn again at the new size.
    showView();
}

bool MpvVideoWindow::event(QEvent* event) {
    if (isPointerEvent(event->type()) && pointerTarget_ != nullptr) {
        const std::unique_ptr<QEvent> copy(event->clone());
        QCoreApplication::sendEvent(pointerTarget_, copy.get());
        return true;
    }
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::DragLeave:
        case QEvent::Drop:
            // The event itself, so that the widget's acceptance reaches the dragging program.
            if (pointerTarget_ != nullptr) {
                QCoreApplication::sendEvent(pointerTarget_, event);
                return true;
            }
            break;
        default:
            break;
    }
    if (event->type() == QEvent::PlatformSurface && render_) {
        // The render thread draws into the native window only while it is there.
        if (static_cast<QPlatformSurfaceEvent*>(event)->surfaceEventType() ==
            QPlatformSurfaceEvent::SurfaceAboutToBeDestroyed) {
            render_->forget(this);
        }
    }
    return QWindow::event(event);
}

}  // namespace tivora
