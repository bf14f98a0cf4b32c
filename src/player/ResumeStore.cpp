#include "player/ResumeStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>
#include "forms/Logging.h"

#include <cmath>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

// A store larger than this is not ours.
constexpr qint64 kLargestStore = qint64{4} * 1024 * 1024;

struct Entry {
    QString path;
    double position = 0;
};

void warn(const QString& text) {
    qCWarning(lcPlayer).noquote() << text;
}

// Most recent first. A store that cannot be read is set aside (kept as .bad) and counts as empty.
QList<Entry> load(const QString& file) {
    QFile in(file);
    if (!in.exists() || !in.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray bytes = in.read(kLargestStore + 1);
    in.close();
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (bytes.size() > kLargestStore || error.error != QJsonParseError::NoError ||
        !document.isObject()) {
        const QString aside = file + u".bad"_s;
        QFile::remove(aside);
        QFile::rename(file, aside);
        warn(u"the playback positions in %1 could not be read; kept as %2"_s.arg(file, aside));
        return {};
    }
    QList<Entry> entries;
    const QJsonArray files = document.object().value(u"files"_s).toArray();
    for (const QJsonValue value : files) {
        const QJsonObject item = value.toObject();
        const QString path = item.value(u"path"_s).toString();
        const double position = item.value(u"position"_s).toDouble(-1);
        if (!path.isEmpty() && std::isfinite(position) && position >= 0) {
            entries.append({path, position});
        }
    }
    return entries;
}

void save(const QString& file, const QList<Entry>& entries) {
    QJsonArray files;
    for (const Entry& entry : entries) {
        files.append(QJsonObject{{u"path"_s, entry.path}, {u"position"_s, entry.position}});
    }
    const QByteArray bytes =
        QJsonDocument(QJsonObject{{u"version"_s, 1}, {u"files"_s, files}}).toJson();
    QDir().mkpath(QFileInfo(file).absolutePath());
    QSaveFile out(file);
    if (!(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.commit())) {
        warn(u"the playback positions could not be saved in %1"_s.arg(file));
    }
}

QList<Entry> without(QList<Entry> entries, const QString& path) {
    entries.removeIf([&](const Entry& entry) { return entry.path == path; });
    return entries;
}

}  // namespace

ResumeStore::ResumeStore(QString file)
    : file_(file.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                                 u"/resume.json"_s
                           : std::move(file)) {}

std::optional<double> ResumeStore::position(const QString& path) const {
    for (const Entry& entry : load(file_)) {
        if (entry.path == path) {
            return entry.position;
        }
    }
    return std::nullopt;
}

void ResumeStore::remember(const QString& path, double position, double duration) const {
    const bool worthKeeping = std::isfinite(position) && position >= kLeastPosition &&
                              !(duration > 0 && position >= duration - kEndMargin);
    if (!worthKeeping) {
        forget(path);
        return;
    }
    QList<Entry> entries = without(load(file_), path);
    entries.prepend({path, position});
    if (entries.size() > kMaxFiles) {
        entries.resize(kMaxFiles);
    }
    save(file_, entries);
}

void ResumeStore::forget(const QString& path) const {
    const QList<Entry> entries = load(file_);
    const QList<Entry> kept = without(entries, path);
    if (kept.size() != entries.size()) {
        save(file_, kept);
    }
}

}  // namespace tivora
