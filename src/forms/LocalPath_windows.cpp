#include "forms/LocalPath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

// Windows names are UTF-16: Qt's own calls open every one of them.
namespace tivora::localpath {

QString fromBytes(const QByteArray& bytes) {
    return QFile::decodeName(bytes);
}

QByteArray toBytes(const QString& path) {
    return QFile::encodeName(path);
}

QString readable(const QString& path) {
    return path;
}

Kind kindOf(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) {
        return Kind::Missing;
    }
    if (info.isFile()) {
        return Kind::File;
    }
    return info.isDir() ? Kind::Folder : Kind::Other;
}

QList<Entry> entries(const QString& folder) {
    QList<Entry> found;
    const QFileInfoList infos =
        QDir(folder).entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& info : infos) {
        found.append({info.fileName(), kindOf(info.filePath())});
    }
    return found;
}

QStringList fileNames(const QString& folder) {
    return QDir(folder).entryList(QDir::Files);
}

}  // namespace tivora::localpath
