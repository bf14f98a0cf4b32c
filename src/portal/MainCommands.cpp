#include "MainCommands.h"

#include "BrowserPane.h"
#include "Control.h"
#include "Form.h"
#include "FormDirectory.h"
#include "PortalAddresses.h"

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

using C = MainCommands;

constexpr C::Binding kPictures[] = {
    {u"Image20", &C::localPlayback},
    {u"Image27", &C::onlineOnDemand},
    {u"Image28", &C::tvLive},
    {u"Image4", &C::filmListTab},
    {u"Image6", &C::favouritesTab},
    {u"Image8", &C::search},
    {u"Image11", &C::search},
    {u"Image3", &C::showMainMenu},
    {u"Image19", &C::showMainMenu},
    {u"Image21", &C::play},
    {u"Image22", &C::addToFavourites},
    {u"Image14", &C::addToFavourites},
    {u"Image23", &C::nowPlaying},
    {u"Image24", &C::stopPlaying},
    {u"Image25", &C::recentlyPlayed},
    {u"Image26", &C::liveBroadcast},
    {u"Image15", &C::liveFromControlBar},
    {u"Image16", &C::stopFromControlBar},
    {u"Image17", &C::backToHall},
    {u"Text1", &C::clearSearchBox},
};

// Menu items that repeat a picture's command.
constexpr C::Binding kMenuItems[] = {
    {u"dakai", &C::localPlayback}, {u"scj2", &C::addToFavourites},   {u"bf1", &C::play},
    {u"bf2", &C::nowPlaying},      {u"bf3", &C::stopFromControlBar}, {u"dh1", &C::backToHall},
    {u"dh2", &C::nowPlaying},
};

const QString kContentButtons[] = {u"Image21"_s, u"Image22"_s, u"Image23"_s,
                                   u"Image24"_s, u"Image25"_s, u"Image26"_s};

}  // namespace

MainCommands::MainCommands(Form& window, FormDirectory& forms, Services& services,
                           const QString& baseUrl, std::function<void()> popupMainMenu)
    : window_(window),
      forms_(forms),
      services_(services),
      baseUrl_(baseUrl),
      popupMainMenu_(std::move(popupMainMenu)) {}

std::span<const MainCommands::Binding> MainCommands::pictureBindings() {
    return kPictures;
}

std::span<const MainCommands::Binding> MainCommands::menuBindings() {
    return kMenuItems;
}

void MainCommands::localPlayback() {
    forms_.form(FormId::Form6).show();
    window_.hide();
}

void MainCommands::onlineOnDemand() {
    window_.msgBox(u"请在右边的电影列表选择电影！"_s);
}

void MainCommands::tvLive() {
    navigate(u"WebBrowser3"_s, portal::liveTvAddress(baseUrl_));
    showContentPane();
}

void MainCommands::filmListTab() {
    setTab(u"Image5"_s);
    navigate(u"WebBrowser1"_s, portal::filmListAddress(baseUrl_));
}

void MainCommands::favouritesTab() {
    setTab(u"Image7"_s);
    navigate(u"WebBrowser1"_s, portal::favouritesAddress(baseUrl_));
}

void MainCommands::search() {
    Control& box = window_.control(u"Text1"_s);
    if (box.caption().size() < 2) {
        window_.msgBox(u"搜索关键字过短，最小输入两个关键字"_s);
        return;
    }
    navigate(u"WebBrowser1"_s, portal::searchAddress(baseUrl_, box.caption()));
    setTab(u"Image9"_s);
}

void MainCommands::clearSearchBox() {
    window_.control(u"Text1"_s).setCaption(QString());
}

void MainCommands::showMainMenu() {
    popupMainMenu_();
}

void MainCommands::play() {
    const auto filmId = portal::selectedFilmId(window_.browser(u"WebBrowser3"_s).locationURL());
    if (!filmId) {
        window_.msgBox(portal::kNoFilmMessage);
        return;
    }
    navigate(u"WebBrowser2"_s, portal::playAddress(baseUrl_, *filmId));
    show(u"Picture3"_s, true);
    show(u"Frameleft"_s, true);
}

void MainCommands::addToFavourites() {
    BrowserPane& content = window_.browser(u"WebBrowser3"_s);
    const auto filmId = portal::selectedFilmId(content.locationURL());
    if (!filmId) {
        window_.msgBox(portal::kNoFilmMessage);
        return;
    }
    const QString filmName = content.locationName();
    navigate(u"WebBrowser1"_s, portal::addFavouriteAddress(baseUrl_, *filmId, filmName));
    setTab(u"Image7"_s);
}

void MainCommands::nowPlaying() {
    if (portal::isPlaying(window_.browser(u"WebBrowser2"_s).locationURL())) {
        show(u"Frameleft"_s, true);
        show(u"Picture3"_s, true);
    } else {
        window_.msgBox(u"您没有正在播放的电影"_s);
    }
}

void MainCommands::stopPlaying() {
    navigate(u"WebBrowser2"_s, portal::kBlankPage);
}

void MainCommands::recentlyPlayed() {
    navigate(u"WebBrowser3"_s, portal::recentlyPlayedAddress(baseUrl_));
}

void MainCommands::liveBroadcast() {
    navigate(u"WebBrowser3"_s, portal::liveTvAddress(baseUrl_));
    navigate(u"WebBrowser2"_s, portal::kBlankPage);
}

void MainCommands::liveFromControlBar() {
    setFullWindow(false);
    navigate(u"WebBrowser2"_s, portal::kBlankPage);
    navigate(u"WebBrowser3"_s, portal::liveTvAddress(baseUrl_));
}

void MainCommands::stopFromControlBar() {
    setFullWindow(false);
    navigate(u"WebBrowser2"_s, portal::kBlankPage);
}

void MainCommands::backToHall() {
    setFullWindow(false);
}

void MainCommands::navigate(const QString& pane, const QString& address) {
    window_.browser(pane).navigate(address);
}

void MainCommands::show(const QString& control, bool visible) {
    window_.control(control).setVisible(visible);
}

void MainCommands::showContentPane() {
    show(u"Framenr"_s, true);
    for (const QString& button : kContentButtons) {
        show(button, true);
    }
}

void MainCommands::setFullWindow(bool shown) {
    show(u"Frameleft"_s, shown);
    show(u"Picture3"_s, shown);
}

void MainCommands::setTab(const QString& inForce) {
    show(u"Image9"_s, inForce == u"Image9"_s);
    show(u"Image5"_s, inForce == u"Image5"_s);
    show(u"Image7"_s, inForce == u"Image7"_s);
}

}  // namespace tivora
