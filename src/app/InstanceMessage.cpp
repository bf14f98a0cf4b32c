#include "app/InstanceMessage.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

constexpr auto kMagicKey = "tivora"_L1;
constexpr auto kFileKey = "open"_L1;
constexpr auto kSentKey = "at"_L1;
// Raised whenever a change in the message would be misread by an older running program.
constexpr int kVersion = 1;

std::optional<InstanceRequest> refuse(QString* error, const QString& why) {
    if (error != nullptr) {
        *error = why;
    }
    return std::nullopt;
}

}  // namespace

QByteArray encodeInstanceRequest(const InstanceRequest& request) {
    QJsonObject message{{kMagicKey, kVersion}};
    if (!request.openFile.isEmpty()) {
        message.insert(kFileKey, request.openFile);
    }
    if (request.sentAtMs > 0) {
        message.insert(kSentKey, static_cast<double>(request.sentAtMs));
    }
    return QJsonDocument(message).toJson(QJsonDocument::Compact);
}

std::optional<InstanceRequest> decodeInstanceRequest(const QByteArray& message, QString* error) {
    if (message.size() > kMaxInstanceMessageSize) {
        return refuse(error, u"message too long"_s);
    }
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(message, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject() ||
        !document.object().contains(kMagicKey)) {
        return refuse(error, u"not a Tivora message"_s);
    }
    const QJsonObject object = document.object();
    const QJsonValue version = object.value(kMagicKey);
    if (!version.isDouble() || version.toDouble() != kVersion) {
        return refuse(error, u"unknown message version"_s);
    }
    InstanceRequest request;
    if (object.contains(kFileKey)) {
        const QJsonValue file = object.value(kFileKey);
        if (!file.isString() || !QDir::isAbsolutePath(file.toString())) {
            return refuse(error, u"the file to open is not an absolute path"_s);
        }
        request.openFile = file.toString();
    }
    request.sentAtMs = static_cast<qint64>(object.value(kSentKey).toDouble(0));
    return request;
}

}  // namespace tivora
