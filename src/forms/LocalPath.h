#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// File names by their bytes. On Linux a name is any bytes: discs and archives made on Chinese
// Windows bring GBK names, which Qt's own file calls show with U+FFFD and cannot open. Here such
// a name reads as GBK, so it shows readably and is written to data.txt as the same bytes, and each
// path is found on disk again component by component.
namespace tivora::localpath {

// UTF-8 names as they are, others read as GBK; bytes neither can read are kept in private-use
// characters (U+F780…U+F7FF), so nothing is lost.
[[nodiscard]] QString fromBytes(const QByteArray& bytes);

// The bytes naming path on disk: each component as UTF-8 when that exists, else as GBK, else the
// entry of its folder that Qt would show under the same name (with U+FFFD). A path not on disk
// comes back as UTF-8.
[[nodiscard]] QByteArray toBytes(const QString& path);

// The path as fromBytes would show the name it has on disk.
[[nodiscard]] QString readable(const QString& path);

enum class Kind { Missing, File, Folder, Other };
// What path is, following links; Other for FIFOs, devices and sockets.
[[nodiscard]] Kind kindOf(const QString& path);

struct Entry {
    QString name;  // readable
    Kind kind = Kind::Missing;
};
// What folder holds (through links), in no set order.
[[nodiscard]] QList<Entry> entries(const QString& folder);

// The regular files of folder (through links) but hidden ones, by their readable names, in no set
// order.
[[nodiscard]] QStringList fileNames(const QString& folder);

}  // namespace tivora::localpath
