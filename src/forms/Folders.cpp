#include "forms/Folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

using namespace Qt::StringLiterals;

namespace tivora {

QString chooseWritableFolder(const QString& preferred, const QString& fallback,
                             const QString& fileName) {
    const QString file = preferred + u'/' + fileName;
    bool writable = false;
    if (QFileInfo::exists(file)) {
        QFile existing(file);
        writable = existing.open(QIODevice::WriteOnly | QIODevice::Append);
    } else {
        // Permission bits say little for root; only a file actually created proves the folder
        // writable.
        QTemporaryFile probe(preferred + u"/.tivora-write-probe-XXXXXX"_s);
        writable = probe.open();
    }
    if (writable) {
        return preferred;
    }
    QDir().mkpath(fallback);
    return fallback;
}

QString userVideosFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        folder = QDir::homePath();
    }
    folder = QDir::toNativeSeparators(folder);
    return folder.endsWith(QDir::separator()) ? folder : folder + QDir::separator();
}

}  // namespace tivora
