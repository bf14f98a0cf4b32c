#include "AnsiCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace tivora {

#ifdef Q_OS_WIN
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
#else
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
#endif

}  // namespace tivora
