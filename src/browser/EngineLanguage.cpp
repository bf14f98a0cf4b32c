#include "browser/EngineLanguage.h"

#include <QByteArray>

namespace tivora {

void prepareEngineLanguage() {
    // Chromium takes its interface language from --lang, and without it from the system's locale.
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (flags.contains("--lang=")) {
        return;
    }
    if (!flags.isEmpty()) {
        flags += ' ';
    }
    flags += "--lang=zh-CN";
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
}

}  // namespace tivora
