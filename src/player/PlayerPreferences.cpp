#include "player/PlayerPreferences.h"

#include "forms/Logging.h"
#include "forms/SafeFile.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

const QString kContinuousPlay = u"player/continuousPlay"_s;
const QString kVolume = u"player/volume"_s;
const QString kMuted = u"player/muted"_s;
const QString kHardwareDecoding = u"player/hardwareDecoding"_s;
const QString kListedType = u"player/listedType"_s;

QString iniValue(const QVariant& value) {
    switch (value.typeId()) {
        case QMetaType::Bool:
            return value.toBool() ? u"true"_s : u"false"_s;
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::Double:
            return value.toString();
        default:
            break;
    }
    QString text = value.toString();
    text.replace(u'\\', u"\\\\"_s).replace(u'"', u"\\\""_s).replace(u'\n', u"\\n"_s);
    return u'"' + text + u'"';
}

// The keys QSettings reads back from an INI file: "group/key", values plain or quoted.
QByteArray iniText(const QMap<QString, QVariant>& values) {
    QMap<QString, QStringList> groups;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const qsizetype slash = it.key().indexOf(u'/');
        const QString group = slash < 0 ? u"General"_s : it.key().left(slash);
        QString key = slash < 0 ? it.key() : it.key().mid(slash + 1);
        key.replace(u'/', u'\\');
        groups[group] << key + u'=' + iniValue(it.value());
    }
    QString text;
    for (auto it = groups.cbegin(); it != groups.cend(); ++it) {
        text += u'[' + it.key() + u"]\n"_s + it.value().join(u'\n') + u"\n\n"_s;
    }
    return text.toUtf8();
}

}  // namespace

PlayerPreferences::PlayerPreferences(const QString& folder)
    : file_((folder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                              : folder) +
            u"/player.ini"_s) {}

QVariant PlayerPreferences::value(const QString& key, const QVariant& fallback) const {
    // A FIFO or device in the file's place would hold QSettings until a writer came.
    if (!safefile::isRegularOrMissing(file_)) {
        return fallback;
    }
    return QSettings(file_, QSettings::IniFormat).value(key, fallback);
}

bool PlayerPreferences::setValue(const QString& key, const QVariant& value) const {
    // QSettings' own save can leave an empty file on a full disk: it only reads here.
    QMap<QString, QVariant> values;
    if (safefile::isRegularOrMissing(file_)) {
        const QSettings current(file_, QSettings::IniFormat);
        for (const QString& existing : current.allKeys()) {
            values.insert(existing, current.value(existing));
        }
    }
    values.insert(key, value);
    QDir().mkpath(QFileInfo(file_).absolutePath());
    QString error;
    if (!safefile::writeFileSafely(file_, iniText(values), &error)) {
        qCWarning(lcPlayer).noquote() << u"the player's preferences could not be saved: "_s + error;
        return false;
    }
    return true;
}

bool PlayerPreferences::continuousPlay() const {
    return value(kContinuousPlay, true).toBool();
}

bool PlayerPreferences::setContinuousPlay(bool on) const {
    return setValue(kContinuousPlay, on);
}

int PlayerPreferences::volume() const {
    bool ok = false;
    const int percent = value(kVolume, 100).toInt(&ok);
    return ok ? std::clamp(percent, 0, 100) : 100;
}

bool PlayerPreferences::setVolume(int percent) const {
    return setValue(kVolume, std::clamp(percent, 0, 100));
}

bool PlayerPreferences::muted() const {
    return value(kMuted, false).toBool();
}

bool PlayerPreferences::setMuted(bool muted) const {
    return setValue(kMuted, muted);
}

bool PlayerPreferences::hardwareDecoding() const {
    return value(kHardwareDecoding, true).toBool();
}

bool PlayerPreferences::setHardwareDecoding(bool on) const {
    return setValue(kHardwareDecoding, on);
}

QString PlayerPreferences::listedType() const {
    return value(kListedType, QString()).toString();
}

bool PlayerPreferences::setListedType(const QString& fileName) const {
    return setValue(kListedType, fileName);
}

}  // namespace tivora
