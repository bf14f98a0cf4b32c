#pragma once

#include <QStringView>

// The main window's controls, by what they are.
namespace tivora::main_window {

// The three browser panes and what holds them.
inline constexpr QStringView kListPane = u"WebBrowser1";     // the film list, right-hand column
inline constexpr QStringView kContentPane = u"WebBrowser3";  // a film's page, in the middle
inline constexpr QStringView kPlayPane = u"WebBrowser2";     // the play page, over the window
inline constexpr QStringView kListColumn = u"Frameright";
inline constexpr QStringView kContentFrame = u"Framenr";
inline constexpr QStringView kPlayFrame = u"Frameleft";

// The play page's control bar and its buttons.
inline constexpr QStringView kControlBar = u"Picture3";
inline constexpr QStringView kControlBarArt = u"Image13";
inline constexpr QStringView kBarFavouritesButton = u"Image14";
inline constexpr QStringView kBarLiveButton = u"Image15";
inline constexpr QStringView kBarStopButton = u"Image16";
inline constexpr QStringView kBarHallButton = u"Image17";
inline constexpr QStringView kBarMenuButton = u"Image19";

// The side toolbar above the film list: tabs (each drawn plain and, over it, in force), search
// box and menu button.
inline constexpr QStringView kSideToolbar = u"Picture2";
inline constexpr QStringView kColumnArt = u"Image2";
inline constexpr QStringView kTabStrip = u"Image10";
inline constexpr QStringView kFilmListTab = u"Image4";
inline constexpr QStringView kFilmListTabOn = u"Image5";
inline constexpr QStringView kFavouritesTab = u"Image6";
inline constexpr QStringView kFavouritesTabOn = u"Image7";
inline constexpr QStringView kSearchTab = u"Image8";
inline constexpr QStringView kSearchTabOn = u"Image9";
inline constexpr QStringView kSearchBox = u"Text1";
inline constexpr QStringView kSearchButton = u"Image11";
inline constexpr QStringView kMenuButton = u"Image3";

// The backdrop behind the panes: welcome picture, its three buttons, and the hover caption.
inline constexpr QStringView kBackdrop = u"Picture1";
inline constexpr QStringView kBackdropArt = u"Image1";
inline constexpr QStringView kWelcomePicture = u"Image12";
inline constexpr QStringView kLocalPlaybackButton = u"Image20";
inline constexpr QStringView kOnDemandButton = u"Image27";
inline constexpr QStringView kTvLiveButton = u"Image28";
inline constexpr QStringView kCaptionBackground = u"Image18";
inline constexpr QStringView kCaptionLabel = u"Label1";

// The content buttons below the content pane.
inline constexpr QStringView kPlayButton = u"Image21";
inline constexpr QStringView kAddFavouriteButton = u"Image22";
inline constexpr QStringView kNowPlayingButton = u"Image23";
inline constexpr QStringView kStopButton = u"Image24";
inline constexpr QStringView kRecentButton = u"Image25";
inline constexpr QStringView kLiveButton = u"Image26";
inline constexpr QStringView kContentButtons[] = {
    kPlayButton, kAddFavouriteButton, kNowPlayingButton, kStopButton, kRecentButton, kLiveButton};

}  // namespace tivora::main_window
