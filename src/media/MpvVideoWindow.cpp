#include "media/MpvVideoWindow.h"

#include "forms/StartupTrace.h"
#include "media/MpvRenderContext.h"

#include <QCoreApplication>

#include <chrono>
#include <memory>

namespace tivora {
namespace {

// Longer than the time between two frames of any film played steadily.
constexpr std::chrono::milliseconds kQuietSpell{60};

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
    connect(&render, &MpvRenderContext::frameReady, this, &MpvVideoWindow::frameReady);
}

void MpvVideoWindow::setPlaying(bool playing) {
    playing_ = playing;
    starting_ = playing;
    requestUpdate();
}

void MpvVideoWindow::setStarted() {
    starting_ = false;
}

void MpvVideoWindow::frameReady() {
    // A frame while a file starts or after a quiet spell (a seek, the end of a pause) is drawn at
    // once: the wait of an update request paces steady playing, and would only delay it.
    if (starting_ || !sinceDrawn_.isValid() || sinceDrawn_.hasExpired(kQuietSpell.count())) {
        draw();
        trace::mark(u"player: picture drawn at once");
    } else {
        requestUpdate();
    }
}

void MpvVideoWindow::draw() {
    if (isExposed() && render_) {
        // While a file starts, frames are shown as they come: the last ones of the file it
        // replaces, and its own first one, have no time worth waiting for.
        render_->draw(*this, playing_, !starting_);
        sinceDrawn_.start();
    }
}

void MpvVideoWindow::exposeEvent(QExposeEvent* /*event*/) {
    draw();
}

void MpvVideoWindow::resizeEvent(QResizeEvent* /*event*/) {
    // A paused picture is drawn again at the new size.
    draw();
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
    if (event->type() == QEvent::UpdateRequest) {
        draw();
        return true;
    }
    return QWindow::event(event);
}

}  // namespace tivora
