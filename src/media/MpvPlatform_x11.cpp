#include "media/MpvPlatform.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

namespace tivora {

QByteArray toMpvPath(const QString& path) {
    return QFile::encodeName(QFileInfo(path).absoluteFilePath());
}

QString mpvLibraryFile() {
    return QStringLiteral("libmpv.so.2");
}

void addWindowSystemParams(std::vector<mpv_render_param>& params) {
    // Hardware decoders hand frames over through the X display; without it (Wayland, offscreen)
    // mpv decodes in software.
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
        params.push_back({MPV_RENDER_PARAM_X11_DISPLAY, x11->display()});
    }
}

}  // namespace tivora
