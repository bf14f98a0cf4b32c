#include "player/SettingsLine.h"

#include "codepage/AnsiCodec.h"

#include <QDir>
#include <QStringConverter>
#include <QStringDecoder>

namespace tivora::settings {
namespace {

constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";

// A name prefix holds at most two characters, each at most a surrogate pair.
constexpr qsizetype kLongestPrefix = 4;

// A folder the line can name. Qt counts ":"-led paths (its resources) as absolute too.
bool isAbsoluteFolder(const QString& path) {
    return !path.startsWith(u':') && QDir::isAbsolutePath(path);
}

}  // namespace

bool canHold(const SettingsLine& line) {
    const auto breaksLine = [](const QString& text) {
        return text.contains(u'\n') || text.contains(u'\r');
    };
    return !breaksLine(line.prefix) && !breaksLine(line.folder) && !line.folder.isEmpty();
}

QByteArray encode(const SettingsLine& line) {
    const QString text = line.prefix + u'?' + line.folder;
    QByteArray bytes = isAnsiRepresentable(text) ? toAnsi(text) : QByteArray();
    // Code-page bytes that happen to start like the UTF-8 mark ("锘" is EF BB in GBK) would be
    // read back as UTF-8.
    if (bytes.isEmpty() || bytes.startsWith(kUtf8Mark)) {
        bytes = kUtf8Mark + text.toUtf8();
    }
    bytes += "\r\n";
    return bytes;
}

std::optional<SettingsLine> decode(const QByteArray& bytes) {
    QString text;
    if (const auto marked = QStringConverter::encodingForData(bytes)) {
        // The decoder drops the mark itself.
        QStringDecoder decoder(*marked);
        text = decoder.decode(bytes);
    } else {
        text = fromAnsi(bytes);
    }
    const qsizetype end = text.indexOf(u'\n');
    QString first = end < 0 ? text : text.left(end);
    if (first.endsWith(u'\r')) {
        first.chop(1);
    }
    qsizetype separator = first.indexOf(u'?');
    if (separator < 0) {
        return std::nullopt;
    }
    // A name prefix may itself hold "?" where the file system allows it; the separator is then
    // the one an absolute folder follows.
    if (!isAbsoluteFolder(first.mid(separator + 1))) {
        for (qsizetype next = separator + 1; next <= kLongestPrefix && next < first.size();
             ++next) {
            if (first.at(next) == u'?' && isAbsoluteFolder(first.mid(next + 1))) {
                separator = next;
                break;
            }
        }
    }
    SettingsLine line{first.left(separator), first.mid(separator + 1)};
    if (line.folder.isEmpty()) {
        return std::nullopt;
    }
    return line;
}

}  // namespace tivora::settings
