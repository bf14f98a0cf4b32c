#pragma once

#include <QString>

#include <optional>

// What the portal's check page says about the server and the latest client version.
namespace tivora::version {

inline const QString kNoUpdateNeeded = QStringLiteral("无需更新");
inline const QString kUpdateNeeded = QStringLiteral("需要更新");

// The page is the portal's answer.
[[nodiscard]] bool serverAnswered(const QString& markup);
// The portal's current client is this one.
[[nodiscard]] bool isCurrentVersion(const QString& markup);

// The two version digits after the first "qor13" that is followed by one separator character
// and two digits; nothing when the page carries no such version.
[[nodiscard]] std::optional<QString> versionCode(const QString& markup);

[[nodiscard]] QString statusFor(const QString& code);

// "当前版本为1.0版，最新版本为X.Y版,<status>"
[[nodiscard]] QString versionLabel(const QString& code, const QString& status);

}  // namespace tivora::version
