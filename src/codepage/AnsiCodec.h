#pragma once

#include <QByteArray>
#include <QString>

namespace tivora {

// The system's ANSI code page: GBK here, the active code page on Windows. Characters it cannot
// represent become "?", as the code page conversion does.
[[nodiscard]] QByteArray toAnsi(const QString& text);
[[nodiscard]] QString fromAnsi(const QByteArray& bytes);
// True when every character of text survives the conversion.
[[nodiscard]] bool isAnsiRepresentable(const QString& text);

}  // namespace tivora
