#include "player/RecentFiles.h"

#include "forms/Logging.h"
#include "forms/SafeFile.h"
#include "player/JsonStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <optional>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

// A store larger than this is not ours.
constexpr qint64 kLargestStore = qint64{256} * 1024;

QStringList load(const QString& file) {
    const std::optional<QJsonObject> store =
        jsonstore::read(file, kLargestStore, u"the recent files"_s);
    if (!store) {
        return {};
    }
    QStringList files;
    for (const QJsonValue value : store->value(u"files"_s).toArray()) {
        const QString path = value.toString();
        if (!path.isEmpty() && !files.contains(path) && files.size() < RecentFiles::kMaxFiles) {
            files << path;
        }
    }
    return files;
}

}  // namespace

RecentFiles::RecentFiles(QString file)
    : file_(file.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                                 u"/recent.json"_s
                           : std::move(file)),
      files_(load(file_)) {}

bool RecentFiles::add(const QString& path) {
    if (path.isEmpty()) {
        return false;
    }
    files_.removeAll(path);
    files_.prepend(path);
    while (files_.size() > kMaxFiles) {
        files_.removeLast();
    }
    return save();
}

bool RecentFiles::clear() {
    files_.clear();
    return save();
}

bool RecentFiles::save() const {
    const QByteArray bytes =
        QJsonDocument(
            QJsonObject{{u"version"_s, 1}, {u"files"_s, QJsonArray::fromStringList(files_)}})
            .toJson();
    QDir().mkpath(QFileInfo(file_).absolutePath());
    QString why;
    if (!safefile::writeFileSafely(file_, bytes, &why)) {
        qCWarning(lcPlayer).noquote()
            << u"the recent files could not be saved in %1: %2"_s.arg(file_, why);
        return false;
    }
    return true;
}

}  // namespace tivora
