#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

// Files written so that a failed write of any kind (a full disk, an I/O error, a quota, a
// read-only folder) leaves the file as it was, and files read without ever blocking on something
// that is no file (a FIFO, a device) where a file should be.
namespace tivora::safefile {

// Replaces path whole with bytes: written to a temporary file beside it, flushed to disk, then
// renamed over it. On failure the old file is untouched and error says why.
// directWriteFallback: a writable file in a folder that takes no new files is rewritten in place
// (and put back as it was if that fails).
[[nodiscard]] bool writeFileSafely(const QString& path, const QByteArray& bytes,
                                   QString* error = nullptr, bool directWriteFallback = false);

// Whether path is missing or a regular file (through links); FIFOs, devices, sockets and folders
// are not, and opening one could block or read forever.
[[nodiscard]] bool isRegularOrMissing(const QString& path);

// Up to maxBytes of path; nothing when it is missing, unreadable or no regular file (with why in
// error, left empty for a missing file).
[[nodiscard]] std::optional<QByteArray> readFileSafely(const QString& path, qint64 maxBytes,
                                                       QString* error = nullptr);

// Every write of the helper goes through this call; a test puts a failing one in its place.
using WriteCall = std::function<qint64(const char* data, qint64 size)>;
// Installs the write call for the writes that follow (empty: the real one). Returns the old one.
WriteCall setWriteCallForTesting(WriteCall call);

}  // namespace tivora::safefile
