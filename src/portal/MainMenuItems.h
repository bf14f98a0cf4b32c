#pragma once

#include <QStringView>

// The popup main menu and its items, by what they do.
namespace tivora::menu {

inline constexpr QStringView kMainMenu = u"caidan";
inline constexpr QStringView kOpen = u"dakai";
inline constexpr QStringView kFavouritesMenu = u"sc";
inline constexpr QStringView kFavouritesList = u"scj1";
inline constexpr QStringView kAddFavourite = u"scj2";
inline constexpr QStringView kClearFavourites = u"scj3";
inline constexpr QStringView kPlayMenu = u"fa";
inline constexpr QStringView kPlayFilm = u"bf1";
inline constexpr QStringView kLiveTv = u"zb1";
inline constexpr QStringView kNowPlaying = u"bf2";
inline constexpr QStringView kStopPlaying = u"bf3";
inline constexpr QStringView kRecentlyPlayed = u"bf4";
inline constexpr QStringView kDownloadList = u"bf5";
inline constexpr QStringView kFullScreen = u"bf6";
inline constexpr QStringView kVolumeControl = u"bf7";
inline constexpr QStringView kNavigationMenu = u"dh";
inline constexpr QStringView kHall = u"dh1";
inline constexpr QStringView kPlayCentre = u"dh2";
inline constexpr QStringView kRefresh = u"dh3";
inline constexpr QStringView kAboutMenu = u"guanyu";
inline constexpr QStringView kHelp = u"gy1";
inline constexpr QStringView kUpdate = u"gy2";
inline constexpr QStringView kWebSite = u"gy3";
inline constexpr QStringView kAbout = u"gy4";
inline constexpr QStringView kQuit = u"endvr";

}  // namespace tivora::menu
