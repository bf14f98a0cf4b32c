#include "SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryFile>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

// Only the first line counts; a huge file is not read whole.
constexpr qint64 kLongestRead = 64 * 1024;

bool canWrite(const QString& file) {
    if (QFileInfo::exists(file)) {
        QFile existing(file);
        return existing.open(QIODevice::WriteOnly | QIODevice::Append);
    }
    // Permission bits say little for root; only a file actually created proves the folder
    // writable.
    QTemporaryFile probe(QFileInfo(file).absolutePath() + u"/.tivora-write-probe-XXXXXX"_s);
    return probe.open();
}

bool writeWhole(const QString& file, const QByteArray& bytes) {
    QSaveFile out(file);
    // A writable file in a folder that takes no new files is written in place.
    out.setDirectWriteFallback(true);
    return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.commit();
}

}  // namespace

SettingsFile::SettingsFile(QString programFolder, QString fallbackFolder)
    : programFolder_(std::move(programFolder)),
      fallbackFolder_(fallbackFolder.isEmpty()
                          ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                          : std::move(fallbackFolder)) {}

QString SettingsFile::besideProgram() const {
    return programFolder_ + u"/data.txt"_s;
}

QString SettingsFile::inFallback() const {
    return fallbackFolder_ + u"/data.txt"_s;
}

QString SettingsFile::path() const {
    return canWrite(besideProgram()) ? besideProgram() : inFallback();
}

std::optional<settings::SettingsLine> SettingsFile::read() const {
    QString file = path();
    // A read-only program folder may still bring a file of its own.
    if (!QFileInfo::exists(file)) {
        file = besideProgram();
    }
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return settings::decode(in.read(kLongestRead));
}

bool SettingsFile::write(const settings::SettingsLine& line) const {
    const QString file = path();
    QDir().mkpath(QFileInfo(file).absolutePath());
    return writeWhole(file, settings::encode(line));
}

}  // namespace tivora
