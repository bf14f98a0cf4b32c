#include "forms/SafeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <utility>

using namespace Qt::StringLiterals;

namespace tivora::safefile {
namespace {

WriteCall& writeCallOverride() {
    static WriteCall call;
    return call;
}

// Qt's buffered write can report success on a full disk and leave the failure to a commit() that
// then renames the short file over the old one: every write here is unbuffered and checked.
bool writeAll(QFileDevice& file, const QByteArray& bytes) {
    constexpr qint64 kChunk = qint64{1} << 20;
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 size = std::min(kChunk, bytes.size() - done);
        const char* data = bytes.constData() + done;
        const qint64 written =
            writeCallOverride() ? writeCallOverride()(data, size) : file.write(data, size);
        if (written <= 0) {
            return false;
        }
        done += written;
    }
    return file.flush() && file.error() == QFileDevice::NoError;
}

bool fail(QString* error, const QString& why) {
    if (error != nullptr) {
        *error = why;
    }
    return false;
}

QString writeFailure(const QString& path, const QFileDevice& file) {
    const QString why =
        file.error() != QFileDevice::NoError ? file.errorString() : qt_error_string(errno);
    return u"%1: %2"_s.arg(path, why);
}

bool rewriteInPlace(const QString& path, const QByteArray& bytes, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) {
        return fail(error, u"%1: %2"_s.arg(path, file.errorString()));
    }
    const QByteArray old = file.readAll();
    file.seek(0);
    if (writeAll(file, bytes) && file.resize(bytes.size()) && file.flush()) {
        return true;
    }
    const QString why = writeFailure(path, file);
    // The old content fitted before; it is put back as well as it can be.
    file.seek(0);
    const bool restored = file.write(old) == old.size() && file.resize(old.size());
    return fail(error, restored ? why : why + u" (the old content could not be restored)"_s);
}

}  // namespace

bool isRegularOrMissing(const QString& path) {
    const QFileInfo info(path);
    return !info.exists() || info.isFile();
}

bool writeFileSafely(const QString& path, const QByteArray& bytes, QString* error,
                     bool directWriteFallback) {
    if (!isRegularOrMissing(path)) {
        return fail(error, u"%1: not a regular file"_s.arg(path));
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const QFileInfo info(path);
        if (directWriteFallback && info.isFile() && info.isWritable()) {
            return rewriteInPlace(path, bytes, error);
        }
        return fail(error, u"%1: %2"_s.arg(path, file.errorString()));
    }
    if (!writeAll(file, bytes)) {
        const QString why = writeFailure(path, file);
        file.cancelWriting();
        return fail(error, why);
    }
    // commit() syncs the temporary file to disk before it renames it.
    if (!file.commit()) {
        return fail(error, u"%1: %2"_s.arg(path, file.errorString()));
    }
    return true;
}

std::optional<QByteArray> readFileSafely(const QString& path, qint64 maxBytes, QString* error) {
    const QFileInfo info(path);
    if (!info.exists()) {
        return std::nullopt;
    }
    if (!info.isFile()) {
        fail(error, u"%1: not a regular file"_s.arg(path));
        return std::nullopt;
    }
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) {
        fail(error, u"%1: %2"_s.arg(path, in.errorString()));
        return std::nullopt;
    }
    return in.read(maxBytes);
}

WriteCall setWriteCallForTesting(WriteCall call) {
    return std::exchange(writeCallOverride(), std::move(call));
}

}  // namespace tivora::safefile
