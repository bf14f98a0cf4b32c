#include "portal/PortalAddresses.h"

#include <QStringEncoder>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace tivora::portal {
namespace {

QString queryValue(const QString& value, QueryEncoding encoding) {
    if (encoding == QueryEncoding::Gbk) {
        QStringEncoder gbk("GBK");
        const QByteArray bytes = gbk.encode(value);
        // What GBK cannot hold goes as UTF-8 rather than as question marks.
        if (!gbk.hasError()) {
            return QString::fromLatin1(bytes.toPercentEncoding());
        }
    }
    return QString::fromLatin1(QUrl::toPercentEncoding(value));
}

}  // namespace

QString filmListAddress(const QString& base) {
    return base + u"/ty_00.html"_s;
}

QString searchAddress(const QString& base, const QString& keyword, QueryEncoding encoding) {
    return base + u"/search2010.asp?searchword="_s + queryValue(keyword, encoding);
}

QString favouritesAddress(const QString& base) {
    return base + u"/scj.asp"_s;
}

QString addFavouriteAddress(const QString& base, const QString& filmId, const QString& filmName,
                            QueryEncoding encoding) {
    return base + u"/scj.asp?scid="_s + filmId + u"&scna="_s + queryValue(filmName, encoding);
}

QString clearFavouritesAddress(const QString& base) {
    return base + u"/scj.asp?dl=dl"_s;
}

QString playAddress(const QString& base, const QString& filmId) {
    return base + u"/play/?"_s + filmId + u"-0-0.html"_s;
}

QString recentlyPlayedAddress(const QString& base) {
    return base + u"/vrzjbf.asp"_s;
}

QString liveTvAddress(const QString& base) {
    return base + u"/tv"_s;
}

QString checkPageAddress(const QString& base) {
    return base + u"/vrpcs.asp"_s;
}

QString companionPageAddress(const QString& base) {
    return base + u"/vrtj.html"_s;
}

QString installerAddress(const QString& base) {
    return base + u"/new.swf"_s;
}

QString helpPageAddress(const QString& siteRoot) {
    return siteRoot + u"/vrdl3.html"_s;
}

std::optional<QString> selectedFilmId(const QString& address) {
    if (!address.contains(u"vrtata"_s)) {
        return std::nullopt;
    }
    QString cut = address;
    // A fragment (a page's own anchor, "#rel") is no part of the id.
    if (const qsizetype hash = cut.indexOf(u'#'); hash >= 0) {
        cut.truncate(hash);
    }
    if (const qsizetype ampersand = cut.indexOf(u'&'); ampersand >= 0) {
        cut.truncate(ampersand);
    }
    const qsizetype equals = cut.indexOf(u'=');
    return equals >= 0 ? cut.mid(equals + 1) : cut;
}

bool isPlaying(const QString& address) {
    return address.contains(u"play"_s);
}

}  // namespace tivora::portal
