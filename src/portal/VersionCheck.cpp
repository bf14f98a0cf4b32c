#include "portal/VersionCheck.h"

#include "portal/ClientVersion.h"

using namespace Qt::StringLiterals;

namespace tivora::version {
namespace {

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

}  // namespace

bool serverAnswered(const QString& markup) {
    return markup.contains(u"qor"_s);
}

bool isCurrentVersion(const QString& markup) {
    return markup.contains(u'v' + QString::fromUtf16(client::kVersionCode));
}

std::optional<QString> versionCode(const QString& markup) {
    const QString marker = u"qor13"_s;
    for (qsizetype at = markup.indexOf(marker); at >= 0; at = markup.indexOf(marker, at + 1)) {
        const qsizetype first = at + marker.size() + 1;  // one separator character is skipped
        if (first + 1 < markup.size() && isAsciiDigit(markup.at(first)) &&
            isAsciiDigit(markup.at(first + 1))) {
            return markup.mid(first, 2);
        }
    }
    return std::nullopt;
}

QString statusFor(const QString& code) {
    return code == QString::fromUtf16(client::kVersionCode) ? kNoUpdateNeeded : kUpdateNeeded;
}

QString versionLabel(const QString& code, const QString& status) {
    return u"当前版本为"_s + QString::fromUtf16(client::kShortVersion) + u"版，最新版本为"_s +
           code.left(1) + u'.' + code.right(1) + u"版,"_s + status;
}

}  // namespace tivora::version
