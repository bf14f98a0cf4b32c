#include "player/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

// Only the first line counts; a huge file is not read whole.
constexpr qint64 kLongestRead = qint64{64} * 1024;

bool writeWhole(const QString& file, const QByteArray& bytes) {
    QSaveFile out(file);
    // A writable file in a folder that takes no new files is written in place.
    out.setDirectWriteFallback(true);
    return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.commit();
}

}  // namespace

SettingsFile::SettingsFile(QString programFolder, QString writeFolder)
    : programFolder_(std::move(programFolder)), writeFolder_(std::move(writeFolder)) {}

QString SettingsFile::path() const {
    return writeFolder_ + u'/' + kFileName;
}

std::optional<settings::SettingsLine> SettingsFile::read() const {
    QString file = path();
    // A read-only program folder may still bring a file of its own.
    if (!QFileInfo::exists(file)) {
        file = programFolder_ + u'/' + kFileName;
    }
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return settings::decode(in.read(kLongestRead));
}

bool SettingsFile::write(const settings::SettingsLine& line) const {
    // The file keeps what it had rather than a line that reads back as another folder.
    if (!settings::canHold(line)) {
        return false;
    }
    const QString file = path();
    QDir().mkpath(QFileInfo(file).absolutePath());
    return writeWhole(file, settings::encode(line));
}

}  // namespace tivora
