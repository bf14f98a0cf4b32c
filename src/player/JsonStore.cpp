#include "player/JsonStore.h"

#include "forms/Logging.h"
#include "forms/SafeFile.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonParseError>

using namespace Qt::StringLiterals;

namespace tivora::jsonstore {

std::optional<QJsonObject> read(const QString& file, qint64 largest, const QString& what) {
    QString why;
    const std::optional<QByteArray> bytes = safefile::readFileSafely(file, largest + 1, &why);
    if (!bytes) {
        if (!why.isEmpty()) {
            qCWarning(lcPlayer).noquote() << u"%1 in %2 cannot be read: %3"_s.arg(what, file, why);
        }
        return std::nullopt;
    }
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(*bytes, &error);
    if (bytes->size() > largest || error.error != QJsonParseError::NoError ||
        !document.isObject()) {
        const QString aside = file + u".bad"_s;
        QFile::remove(aside);
        QFile::rename(file, aside);
        qCWarning(lcPlayer).noquote()
            << u"%1 in %2 could not be read; kept as %3"_s.arg(what, file, aside);
        return std::nullopt;
    }
    return document.object();
}

}  // namespace tivora::jsonstore
