#pragma once

#include <QString>

namespace tivora {

// What pages are told the user reads, whatever the system's locale.
inline const QString kAcceptLanguage = QStringLiteral("zh-CN,zh;q=0.9");

// Makes the web engine's own words (its error pages, media controls, form hints) Chinese. Call
// before the application object exists; a --lang the user gives in QTWEBENGINE_CHROMIUM_FLAGS
// stands.
void prepareEngineLanguage();

}  // namespace tivora
