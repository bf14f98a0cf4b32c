#include "media/MpvPlatform.h"

#include "forms/LocalPath.h"

#include <QDir>
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

QByteArray audioOutputs() {
    // mpv's own list ends in SDL, which only wraps these same systems again and takes a tenth of a
    // second to fail where there is no sound: each film's first frame waited for it.
    return QByteArrayLiteral("pipewire,pulse,alsa,jack");
}

bool hasDecoderDevice(const QString& deviceFolder) {
    // VA-API and VDPAU reach the graphics card through a DRM node, NVDEC through NVIDIA's own.
    const QDir devices(deviceFolder);
    return !QDir(devices.filePath(QStringLiteral("dri")))
                .entryList({QStringLiteral("renderD*"), QStringLiteral("card*")},
                           QDir::Files | QDir::System)
                .isEmpty() ||
           devices.exists(QStringLiteral("nvidiactl"));
}

void addWindowSystemParams(std::vector<mpv_render_param>& params) {
    // Hardware decoders hand frames over through the X display; without it (Wayland, offscreen)
    // mpv decodes in software.
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
        params.push_back({MPV_RENDER_PARAM_X11_DISPLAY, x11->display()});
    }
}

}  // namespace tivora
