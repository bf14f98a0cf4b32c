#pragma once

#include <QString>

class QWebEngineLoadingInfo;

namespace tivora {

// Tivora's own page for a load that failed or a page given up: a headline, the address and a
// button that loads the address again.
[[nodiscard]] QString errorPageHtml(const QString& headline, const QString& button,
                                    const QString& address);

// The address as escaped markup that a line may break only after "/", "?" and "&".
[[nodiscard]] QString wrappableAddress(const QString& address);

// The headline for a load that failed with no answer from the server.
[[nodiscard]] QString unreachableHeadline(const QWebEngineLoadingInfo& info);

}  // namespace tivora
