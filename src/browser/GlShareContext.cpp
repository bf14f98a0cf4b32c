#include "browser/GlShareContext.h"

#include "forms/StartupTrace.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QOpenGLContext>
#include <QSurfaceFormat>

using namespace Qt::StringLiterals;

// Qt's own modules reach the shared context through these; Qt exports them without a header.
QT_BEGIN_NAMESPACE
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);
Q_GUI_EXPORT QOpenGLContext* qt_gl_global_share_context();
QT_END_NAMESPACE

namespace tivora::gl_share {
namespace {

QOpenGLContext* reserved = nullptr;

void release() {
    if (qt_gl_global_share_context() == reserved) {
        qt_gl_set_global_share_context(nullptr);
    }
    delete reserved;
    reserved = nullptr;
}

}  // namespace

void reserve() {
    if (reserved != nullptr || qt_gl_global_share_context() != nullptr) {
        return;
    }
    reserved = new QOpenGLContext;
    qt_gl_set_global_share_context(reserved);
}

void create() {
    if (reserved == nullptr || reserved->isValid()) {
        return;
    }
    trace::mark(u"shared OpenGL context"_s);
    reserved->setScreen(QGuiApplication::primaryScreen());
    reserved->setFormat(QSurfaceFormat::defaultFormat());
    if (!reserved->create()) {
        // The engine then draws without OpenGL, as it does on a system without it.
        qt_gl_set_global_share_context(nullptr);
    }
    qAddPostRoutine(release);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    trace::mark(u"shared OpenGL context made"_s);
}

}  // namespace tivora::gl_share
