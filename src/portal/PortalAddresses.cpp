#include "PortalAddresses.h"

#include <QUrl>

using namespace Qt::StringLiterals;

namespace tivora::portal {
namespace {

QString queryValue(const QString& value) {
    return QString::fromLatin1(QUrl::toPercentEncoding(value));
}

}  // namespace

QString filmListAddress(const QString& base) {
    return base + u"/ty_00.html"_s;
}

QString searchAddress(const QString& base, const QString& keyword) {
    return base + u"/search2010.asp?searchword="_s + queryValue(keyword);
}

QString favouritesAddress(const QString& base) {
    return base + u"/scj.asp"_s;
}

QString addFavouriteAddress(const QString& base, const QString& filmId, const QString& filmName) {
    return base + u"/scj.asp?scid="_s + filmId + u"&scna="_s + queryValue(filmName);
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
