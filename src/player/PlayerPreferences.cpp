#include "player/PlayerPreferences.h"

#include <QSettings>
#include <QStandardPaths>
#include "forms/Logging.h"

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

const QString kContinuousPlay = u"player/continuousPlay"_s;

}  // namespace

PlayerPreferences::PlayerPreferences(const QString& folder)
    : file_((folder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                              : folder) +
            u"/player.ini"_s) {}

bool PlayerPreferences::continuousPlay() const {
    return QSettings(file_, QSettings::IniFormat).value(kContinuousPlay, true).toBool();
}

void PlayerPreferences::setContinuousPlay(bool on) const {
    QSettings settings(file_, QSettings::IniFormat);
    settings.setValue(kContinuousPlay, on);
    settings.sync();
    if (settings.status() != QSettings::NoError) {
        qCWarning(lcPlayer).noquote()
            << u"the player's preferences could not be saved in "_s + file_;
    }
}

}  // namespace tivora
