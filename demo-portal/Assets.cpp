#include "demo-portal/Assets.h"

#include <QFile>
#include <QString>

namespace tivora::demo {

namespace {

QString resourcePath(std::string_view name) {
    return QStringLiteral(":/tivora-demo/") +
           QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

std::string Assets::bytes(std::string_view name) {
    QFile file(resourcePath(name));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray data = file.readAll();
    return {data.constData(), static_cast<std::size_t>(data.size())};
}

bool Assets::exists(std::string_view name) {
    return QFile::exists(resourcePath(name));
}

}  // namespace tivora::demo
