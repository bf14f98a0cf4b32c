#include "forms/LocalPath.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <memory>
#include <optional>

#include <dirent.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace tivora::localpath {
namespace {

constexpr char16_t kEscapeBase = 0xF700;  // + byte, for bytes 0x80…0xFF

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};
using Dir = std::unique_ptr<DIR, DirCloser>;

bool onDisk(const QByteArray& path) {
    struct stat status {};
    return ::lstat(path.constData(), &status) == 0;
}

std::optional<QString> decoded(QStringDecoder& decoder, const QByteArray& bytes) {
    if (!decoder.isValid()) {
        return std::nullopt;
    }
    QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        return std::nullopt;
    }
    return text;
}

std::optional<QByteArray> asGbk(const QString& text) {
    QStringEncoder encoder("GBK");
    if (!encoder.isValid()) {
        return std::nullopt;
    }
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError()) {
        return std::nullopt;
    }
    return bytes;
}

bool isEscape(QChar character) {
    return character.unicode() >= kEscapeBase + 0x80 && character.unicode() <= kEscapeBase + 0xFF;
}

// UTF-8, with escaped bytes put back as they were.
QByteArray asUtf8(const QString& text) {
    if (std::none_of(text.cbegin(), text.cend(), isEscape)) {
        return text.toUtf8();
    }
    QByteArray bytes;
    for (const QChar character : text) {
        if (isEscape(character)) {
            bytes += static_cast<char>(character.unicode() - kEscapeBase);
        } else {
            bytes += QString(character).toUtf8();
        }
    }
    return bytes;
}

// The entry of folder that Qt shows as name, which holds U+FFFD where the bytes are not UTF-8.
std::optional<QByteArray> entryShownAs(const QByteArray& folder, const QString& name) {
    const Dir dir(::opendir(folder.isEmpty() ? "." : folder.constData()));
    if (!dir) {
        return std::nullopt;
    }
    while (const dirent* entry = ::readdir(dir.get())) {
        const QByteArray bytes(entry->d_name);
        if (QString::fromUtf8(bytes) == name) {
            return bytes;
        }
    }
    return std::nullopt;
}

}  // namespace

QString fromBytes(const QByteArray& bytes) {
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    if (const auto text = decoded(utf8, bytes)) {
        return *text;
    }
    QStringDecoder gbk("GBK", QStringConverter::Flag::Stateless);
    if (const auto text = decoded(gbk, bytes); text && asGbk(*text) == bytes) {
        return *text;
    }
    QString escaped;
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        escaped += QChar(static_cast<char16_t>(value < 0x80 ? value : kEscapeBase + value));
    }
    return escaped;
}

namespace {

// The bytes of one component as folder holds it, if it does.
std::optional<QByteArray> componentIn(const QByteArray& folder, const QString& component) {
    QByteArray utf8 = asUtf8(component);
    if (onDisk(folder + utf8)) {
        return utf8;
    }
    if (auto gbk = asGbk(component); gbk && onDisk(folder + *gbk)) {
        return gbk;
    }
    if (component.contains(QChar::ReplacementCharacter)) {
        return entryShownAs(folder, component);
    }
    return std::nullopt;
}

}  // namespace

QByteArray toBytes(const QString& path) {
    QByteArray direct = asUtf8(path);
    if (path.isEmpty() || onDisk(direct)) {
        return direct;
    }
    QByteArray resolved = path.startsWith(u'/') ? "/" : "";
    bool first = true;
    for (const QString& component : path.split(u'/', Qt::SkipEmptyParts)) {
        if (!first) {
            resolved += '/';
        }
        first = false;
        resolved += componentIn(resolved, component).value_or(asUtf8(component));
    }
    return resolved;
}

QString readable(const QString& path) {
    return fromBytes(toBytes(path));
}

namespace {

Kind kindOfBytes(const QByteArray& path) {
    struct stat status {};
    if (path.isEmpty() || ::stat(path.constData(), &status) != 0) {
        return Kind::Missing;
    }
    if (S_ISREG(status.st_mode)) {
        return Kind::File;
    }
    return S_ISDIR(status.st_mode) ? Kind::Folder : Kind::Other;
}

}  // namespace

Kind kindOf(const QString& path) {
    return path.isEmpty() ? Kind::Missing : kindOfBytes(toBytes(path));
}

QList<Entry> entries(const QString& folder) {
    const QByteArray folderBytes = toBytes(folder);
    QList<Entry> found;
    const Dir dir(::opendir(folderBytes.constData()));
    if (!dir) {
        return found;
    }
    while (const dirent* entry = ::readdir(dir.get())) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..") {
            found.append({fromBytes(name), kindOfBytes(folderBytes + '/' + name)});
        }
    }
    return found;
}

QStringList fileNames(const QString& folder) {
    QStringList names;
    for (const Entry& entry : entries(folder)) {
        if (entry.kind == Kind::File && !entry.name.startsWith(u'.')) {
            names << entry.name;
        }
    }
    return names;
}

}  // namespace tivora::localpath
