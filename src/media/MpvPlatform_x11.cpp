#include "media/MpvPlatform.h"

#include "forms/LocalPath.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

namespace tivora {

QByteArray toMpvPath(const QString& path) {
    // By its bytes on disk: names that are not UTF-8 (GBK ones) open too.
    return localpath::toBytes(QFileInfo(path).absoluteFilePath());
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
