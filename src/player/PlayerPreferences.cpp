#include "player/PlayerPreferences.h"

#include <QSettings>
#include <QStandardPaths>
#include "forms/Logging.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

const QString kContinuousPlay = u"player/continuousPlay"_s;
const QString kVolume = u"player/volume"_s;
const QString kMuted = u"player/muted"_s;
const QString kHardwareDecoding = u"player/hardwareDecoding"_s;
const QString kListedType = u"player/listedType"_s;

}  // namespace

PlayerPreferences::PlayerPreferences(const QString& folder)
    : file_((folder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                              : folder) +
            u"/player.ini"_s) {}

bool PlayerPreferences::continuousPlay() const {
    return QSettings(file_, QSettings::IniFormat).value(kContinuousPlay, true).toBool();
}

void PlayerPreferences::setContinuousPlay(bool on) const {
    write(kContinuousPlay, on);
}

int PlayerPreferences::volume() const {
    bool ok = false;
    const int percent = QSettings(file_, QSettings::IniFormat).value(kVolume, 100).toInt(&ok);
    return ok ? std::clamp(percent, 0, 100) : 100;
}

void PlayerPreferences::setVolume(int percent) const {
    write(kVolume, std::clamp(percent, 0, 100));
}

bool PlayerPreferences::muted() const {
    return QSettings(file_, QSettings::IniFormat).value(kMuted, false).toBool();
}

void PlayerPreferences::setMuted(bool muted) const {
    write(kMuted, muted);
}

bool PlayerPreferences::hardwareDecoding() const {
    return QSettings(file_, QSettings::IniFormat).value(kHardwareDecoding, true).toBool();
}

void PlayerPreferences::setHardwareDecoding(bool on) const {
    write(kHardwareDecoding, on);
}

QString PlayerPreferences::listedType() const {
    return QSettings(file_, QSettings::IniFormat).value(kListedType).toString();
}

void PlayerPreferences::setListedType(const QString& fileName) const {
    write(kListedType, fileName);
}

void PlayerPreferences::write(const QString& key, const QVariant& value) const {
    QSettings settings(file_, QSettings::IniFormat);
    settings.setValue(key, value);
    settings.sync();
    if (settings.status() != QSettings::NoError) {
        qCWarning(lcPlayer).noquote()
            << u"the player's preferences could not be saved in "_s + file_;
    }
}

}  // namespace tivora
