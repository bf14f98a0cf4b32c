#include "media/MpvPlatform.h"

#include <QFileInfo>

namespace tivora {

QByteArray toMpvPath(const QString& path) {
    // mpv takes UTF-8 paths on Windows, whatever the code page.
    return QFileInfo(path).absoluteFilePath().toUtf8();
}

QString mpvLibraryFile() {
    return QStringLiteral("libmpv-2.dll");
}

QByteArray audioOutputs() {
    return {};
}

bool hasDecoderDevice(const QString& /*deviceFolder*/) {
    // Direct3D's decoders are there with any display driver.
    return true;
}

void addWindowSystemParams(std::vector<mpv_render_param>& /*params*/) {}

}  // namespace tivora
