#pragma once

#include <QByteArray>
#include <QString>

#include <mpv/render.h>

#include <vector>

// What mpv needs to know of the platform it runs on; one source file per platform.
namespace tivora {

// A file path as mpv's loadfile takes it. An absolute path is never taken for a protocol or an
// option.
[[nodiscard]] QByteArray toMpvPath(const QString& path);

// The file libmpv is loaded from.
[[nodiscard]] QString mpvLibraryFile();

// The audio outputs mpv tries, in order; empty: mpv's own search.
[[nodiscard]] QByteArray audioOutputs();

// Whether the machine has a device a hardware decoder could use (the folder stands in for /dev in
// tests). Where it has none, mpv is not sent looking for one: its search took a few milliseconds of
// every file's start.
[[nodiscard]] bool hasDecoderDevice(const QString& deviceFolder = QStringLiteral("/dev"));

// Render parameters that hand mpv the window system's display, where it has one.
void addWindowSystemParams(std::vector<mpv_render_param>& params);

}  // namespace tivora
