#include "player/SettingsFile.h"

#include "forms/Logging.h"
#include "forms/SafeFile.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

// Only the first line counts; a huge file is not read whole.
constexpr qint64 kLongestRead = qint64{64} * 1024;

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
    QString error;
    const auto bytes = safefile::readFileSafely(file, kLongestRead, &error);
    if (!error.isEmpty()) {
        qCWarning(lcPlayer).noquote() << u"the player's settings could not be read: "_s + error;
    }
    return bytes ? settings::decode(*bytes) : std::nullopt;
}

bool SettingsFile::write(const settings::SettingsLine& line, QString* error) const {
    // The file keeps what it had rather than a line that reads back as another folder.
    if (!settings::canHold(line)) {
        return false;
    }
    const QString file = path();
    QDir().mkpath(QFileInfo(file).absolutePath());
    // A writable file in a folder that takes no new files is written in place.
    QString why;
    if (!safefile::writeFileSafely(file, settings::encode(line), &why, true)) {
        qCWarning(lcPlayer).noquote() << u"the player's settings could not be saved: "_s + why;
        if (error != nullptr) {
            *error = why;
        }
        return false;
    }
    return true;
}

}  // namespace tivora
