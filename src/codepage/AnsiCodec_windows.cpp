#include "codepage/AnsiCodec.h"

#include <QStringEncoder>

namespace tivora {

QByteArray toAnsi(const QString& text) {
    return text.toLocal8Bit();
}

QString fromAnsi(const QByteArray& bytes) {
    return QString::fromLocal8Bit(bytes);
}

bool isAnsiRepresentable(const QString& text) {
    QStringEncoder encoder(QStringEncoder::System);
    (void)encoder.encode(text);
    return !encoder.hasError();
}

}  // namespace tivora
