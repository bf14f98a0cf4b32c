#pragma once

#include <QString>

#include <optional>

// Every portal and site address the windows load, built on a root without a trailing slash.
namespace tivora::portal {

inline const QString kBlankPage = QStringLiteral("about:blank");
inline const QString kNoFilmMessage = QStringLiteral("请先选择您要观看的影片");

// How typed text goes on the wire in a query: UTF-8, or GBK for portals that speak it.
enum class QueryEncoding { Utf8, Gbk };

[[nodiscard]] QString filmListAddress(const QString& base);
// The keyword goes in percent-encoded, so the portal receives exactly what was typed.
[[nodiscard]] QString searchAddress(const QString& base, const QString& keyword,
                                    QueryEncoding encoding = QueryEncoding::Utf8);
[[nodiscard]] QString favouritesAddress(const QString& base);
// The film id goes in as read from an address; the film name percent-encoded.
[[nodiscard]] QString addFavouriteAddress(const QString& base, const QString& filmId,
                                          const QString& filmName,
                                          QueryEncoding encoding = QueryEncoding::Utf8);
[[nodiscard]] QString clearFavouritesAddress(const QString& base);
[[nodiscard]] QString playAddress(const QString& base, const QString& filmId);
[[nodiscard]] QString recentlyPlayedAddress(const QString& base);
[[nodiscard]] QString liveTvAddress(const QString& base);

// The film id of the film page an address shows: nothing unless the address holds "vrtata";
// otherwise what follows the first "=", after cutting at the first "&".
[[nodiscard]] std::optional<QString> selectedFilmId(const QString& address);

// The start-up check page (the server's answer and the latest client version) and the page shown
// beside it while the check runs.
[[nodiscard]] QString checkPageAddress(const QString& base);
[[nodiscard]] QString companionPageAddress(const QString& base);
// The update installer.
[[nodiscard]] QString installerAddress(const QString& base);
// The help page, on the maker's web site.
[[nodiscard]] QString helpPageAddress(const QString& siteRoot);

// True when the full-window pane's address is a play page.
[[nodiscard]] bool isPlaying(const QString& address);

}  // namespace tivora::portal
