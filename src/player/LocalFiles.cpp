#include "player/LocalFiles.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace tivora::localfiles {
namespace {

// What the dialog's video entry and the list offer, RealMedia last.
const QStringList& videoSuffixes() {
    static const QStringList kSuffixes{u"mp4"_s, u"mkv"_s,  u"avi"_s,  u"mov"_s,  u"wmv"_s,
                                       u"flv"_s, u"ts"_s,   u"m2ts"_s, u"webm"_s, u"m4v"_s,
                                       u"mpg"_s, u"mpeg"_s, u"3gp"_s,  u"rm"_s,   u"rmvb"_s};
    return kSuffixes;
}

bool isRealMedia(const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    return suffix == u"rm"_s || suffix == u"rmvb"_s;
}

bool matchesOne(const QList<uint>& pattern, const QList<uint>& name) {
    qsizetype p = 0;
    qsizetype n = 0;
    qsizetype star = -1;
    qsizetype resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            star = p++;
            resume = n;
        } else if (star >= 0) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') {
        ++p;
    }
    return p == pattern.size();
}

}  // namespace

QString namePrefix(const QString& fileTitle) {
    qsizetype end = 0;
    for (int characters = 0; characters < 2 && end < fileTitle.size(); ++characters) {
        const bool pair = fileTitle.at(end).isHighSurrogate() && end + 1 < fileTitle.size() &&
                          fileTitle.at(end + 1).isLowSurrogate();
        end += pair ? 2 : 1;
    }
    return fileTitle.left(end);
}

QString listPattern(const QString& prefix) {
    return u"*"_s + prefix + u"*rm*"_s;
}

QString listPatternFor(const QString& prefix, const QString& fileName) {
    // A name of no video type (chosen through "all files") keeps the RealMedia pattern too.
    if (isRealMedia(fileName) ||
        !videoSuffixes().contains(QFileInfo(fileName).suffix().toLower())) {
        return listPattern(prefix);
    }
    QStringList patterns;
    for (const QString& suffix : videoSuffixes()) {
        patterns << u"*"_s + prefix + u"*."_s + suffix;
    }
    return patterns.join(u';');
}

QString dialogFilter() {
    QStringList shown;
    QStringList patterns;
    for (const QString& suffix : videoSuffixes()) {
        shown << u"*."_s + suffix;
        patterns << u"*."_s + suffix;
    }
    return u"视频文件 (*.rm,*.rmvb)|*.rm;*.rmvb|所有视频文件 (%1)|%2|所有文件 (*.*)|*.*"_s.arg(
        shown.join(u','), patterns.join(u';'));
}

QString folderOfFile(const QString& path) {
    // On Windows both separators count; elsewhere a backslash is an ordinary name character.
    const qsizetype last = QDir::fromNativeSeparators(path).lastIndexOf(u'/');
    return last < 0 ? QString() : path.left(last + 1);
}

bool matchesPattern(const QString& pattern, const QString& name) {
    const QList<uint> folded = name.toCaseFolded().toUcs4();
    const QStringList patterns = pattern.split(u';');
    return std::ranges::any_of(patterns, [&](const QString& one) {
        const QString effective = one.isEmpty() && patterns.size() == 1 ? u"*"_s : one;
        return !effective.isEmpty() && matchesOne(effective.toCaseFolded().toUcs4(), folded);
    });
}

bool isVideoFileName(const QString& name) {
    static const QStringList kVideo{u"rm"_s,   u"rmvb"_s, u"mp4"_s, u"m4v"_s, u"mkv"_s,  u"avi"_s,
                                    u"m2ts"_s, u"mov"_s,  u"wmv"_s, u"flv"_s, u"webm"_s, u"ts"_s,
                                    u"mpg"_s,  u"mpeg"_s, u"3gp"_s, u"asf"_s, u"vob"_s,  u"ogv"_s};
    return kVideo.contains(QFileInfo(name).suffix().toLower());
}

}  // namespace tivora::localfiles
