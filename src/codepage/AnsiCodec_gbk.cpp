#include "codepage/AnsiCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace tivora {

QByteArray toAnsi(const QString& text) {
    QStringEncoder encoder("GBK");
    return encoder.encode(text);
}

QString fromAnsi(const QByteArray& bytes) {
    QStringDecoder decoder("GBK");
    return decoder.decode(bytes);
}

bool isAnsiRepresentable(const QString& text) {
    QStringEncoder encoder("GBK");
    (void)QByteArray(encoder.encode(text));
    return !encoder.hasError();
}

}  // namespace tivora
