#include "player/ResumeStore.h"

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

#include <cmath>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

// A store larger than this is not ours.
constexpr qint64 kLargestStore = qint64{4} * 1024 * 1024;

using Entry = ResumeEntry;

void warn(const QString& text) {
    qCWarning(lcPlayer).noquote() << text;
}

// Most recent first. A store that cannot be read is set aside (kept as .bad) and counts as empty.
QList<Entry> load(const QString& file) {
    const std::optional<QJsonObject> store =
        jsonstore::read(file, kLargestStore, u"the playback positions"_s);
    if (!store) {
        return {};
    }
    QList<Entry> entries;
    const QJsonArray files = store->value(u"files"_s).toArray();
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

bool save(const QString& file, const QList<Entry>& entries, QString* why) {
    QJsonArray files;
    for (const Entry& entry : entries) {
        files.append(QJsonObject{{u"path"_s, entry.path}, {u"position"_s, entry.position}});
    }
    const QByteArray bytes =
        QJsonDocument(QJsonObject{{u"version"_s, 1}, {u"files"_s, files}}).toJson();
    QDir().mkpath(QFileInfo(file).absolutePath());
    if (!safefile::writeFileSafely(file, bytes, why)) {
        warn(u"the playback positions could not be saved: "_s + *why);
        return false;
    }
    return true;
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

void ResumeStore::setProblemReport(std::function<void(const QString&)> report) {
    report_ = std::move(report);
}

void ResumeStore::reportOnce(const QString& problem, const QString& text) const {
    if (reported_.contains(problem)) {
        return;
    }
    reported_.insert(problem);
    if (report_) {
        report_(text);
    }
}

QString ResumeStore::storeFile() const {
    const QFileInfo info(file_);
    const bool dangling = info.isSymLink() && !info.exists();
    if (!dangling && safefile::isRegularOrMissing(file_)) {
        return file_;
    }
    // What the link or the special file stands for is left alone; the store lives beside it.
    QString beside = info.dir().filePath(info.completeBaseName() + u".local."_s + info.suffix());
    const QString why = dangling ? u"指向一个不存在的位置"_s : u"不是普通文件"_s;
    reportOnce(u"place"_s,
               u"播放位置记录“%1”%2，播放位置改为保存在“%3”。"_s.arg(
                   QDir::toNativeSeparators(file_), why, QDir::toNativeSeparators(beside)));
    return beside;
}

void ResumeStore::store(const QList<ResumeEntry>& entries) const {
    QString why;
    if (!save(storeFile(), entries, &why)) {
        reportOnce(u"write"_s, u"无法保存播放位置，磁盘可能已满或不可写入。\n%1"_s.arg(why));
    }
}

std::optional<double> ResumeStore::position(const QString& path) const {
    for (const Entry& entry : load(storeFile())) {
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
    QList<Entry> entries = without(load(storeFile()), path);
    entries.prepend({path, position});
    if (entries.size() > kMaxFiles) {
        entries.resize(kMaxFiles);
    }
    store(entries);
}

void ResumeStore::forget(const QString& path) const {
    const QList<Entry> entries = load(storeFile());
    const QList<Entry> kept = without(entries, path);
    if (kept.size() != entries.size()) {
        store(kept);
    }
}

}  // namespace tivora
