#include "portal/MainCommands.h"

#include "forms/BrowserPane.h"
#include "forms/Control.h"
#include "forms/Form.h"
#include "forms/FormDirectory.h"
#include "forms/Services.h"
#include "portal/MainMenuItems.h"
#include "portal/MainWindowControls.h"
#include "portal/PortalAddresses.h"

#include <QFileInfo>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

using C = MainCommands;

constexpr C::Binding kPictures[] = {
    {main_window::kLocalPlaybackButton, &C::localPlayback},
    {main_window::kOnDemandButton, &C::onlineOnDemand},
    {main_window::kTvLiveButton, &C::tvLive},
    {main_window::kFilmListTab, &C::filmListTab},
    {main_window::kFavouritesTab, &C::favouritesTab},
    {main_window::kSearchTab, &C::search},
    {main_window::kSearchButton, &C::search},
    {main_window::kMenuButton, &C::showMainMenu},
    {main_window::kBarMenuButton, &C::showMainMenu},
    {main_window::kPlayButton, &C::play},
    {main_window::kAddFavouriteButton, &C::addToFavourites},
    {main_window::kBarFavouritesButton, &C::addToFavourites},
    {main_window::kNowPlayingButton, &C::nowPlaying},
    {main_window::kStopButton, &C::stopPlaying},
    {main_window::kRecentButton, &C::recentlyPlayed},
    {main_window::kLiveButton, &C::liveBroadcast},
    {main_window::kBarLiveButton, &C::liveFromControlBar},
    {main_window::kBarStopButton, &C::stopFromControlBar},
    {main_window::kBarHallButton, &C::backToHall},
    {main_window::kSearchBox, &C::clearSearchBox},
};

// Menu items: those that repeat a picture's command run that very command.
constexpr C::Binding kMenuItems[] = {
    {menu::kOpen, &C::localPlayback},
    {menu::kFavouritesList, &C::favouritesList},
    {menu::kAddFavourite, &C::addToFavourites},
    {menu::kClearFavourites, &C::clearFavourites},
    {menu::kPlayFilm, &C::play},
    {menu::kLiveTv, &C::liveTv},
    {menu::kNowPlaying, &C::nowPlaying},
    {menu::kStopPlaying, &C::stopFromControlBar},
    {menu::kRecentlyPlayed, &C::recentlyPlayedInContent},
    {menu::kDownloadList, &C::downloadList},
    {menu::kFullScreen, &C::fullScreenHint},
    {menu::kVolumeControl, &C::volumeControl},
    {menu::kHall, &C::backToHall},
    {menu::kPlayCentre, &C::nowPlaying},
    {menu::kRefresh, &C::refreshData},
    {menu::kHelp, &C::help},
    {menu::kUpdate, &C::programUpdate},
    {menu::kWebSite, &C::officialWebSite},
    {menu::kAbout, &C::about},
    {menu::kQuit, &C::quit},
};

}  // namespace

MainCommands::MainCommands(Form& window, FormDirectory& forms, Services& services,
                           const QString& baseUrl, QString siteRoot,
                           std::function<void()> popupMainMenu, portal::QueryEncoding encoding)
    : window_(window),
      forms_(forms),
      services_(services),
      baseUrl_(baseUrl),
      siteRoot_(std::move(siteRoot)),
      encoding_(encoding),
      popupMainMenu_(std::move(popupMainMenu)) {}

std::span<const MainCommands::Binding> MainCommands::pictureBindings() {
    return kPictures;
}

std::span<const MainCommands::Binding> MainCommands::menuBindings() {
    return kMenuItems;
}

void MainCommands::localPlayback() {
    forms_.form(FormId::Player).show();
    window_.hide();
}

void MainCommands::onlineOnDemand() {
    window_.msgBox(u"请在右边的电影列表选择电影！"_s);
}

void MainCommands::tvLive() {
    navigate(main_window::kContentPane, portal::liveTvAddress(baseUrl_));
    showContentPane();
}

void MainCommands::filmListTab() {
    setTab(main_window::kFilmListTabOn);
    navigate(main_window::kListPane, portal::filmListAddress(baseUrl_));
}

void MainCommands::favouritesTab() {
    setTab(main_window::kFavouritesTabOn);
    navigate(main_window::kListPane, portal::favouritesAddress(baseUrl_));
}

void MainCommands::search() {
    Control& box = window_.control(main_window::kSearchBox);
    if (box.caption().size() < 2) {
        window_.msgBox(u"搜索关键字过短，最小输入两个关键字"_s);
        return;
    }
    navigate(main_window::kListPane, portal::searchAddress(baseUrl_, box.caption(), encoding_));
    setTab(main_window::kSearchTabOn);
}

void MainCommands::clearSearchBox() {
    window_.control(main_window::kSearchBox).setCaption(QString());
}

void MainCommands::showMainMenu() {
    popupMainMenu_();
}

void MainCommands::play() {
    const auto filmId = selectedFilm();
    if (!filmId) {
        window_.msgBox(portal::kNoFilmMessage);
        return;
    }
    navigate(main_window::kPlayPane, portal::playAddress(baseUrl_, *filmId));
    setFullWindow(true);
}

void MainCommands::addToFavourites() {
    BrowserPane& content = window_.browser(main_window::kContentPane);
    const auto filmId = selectedFilm();
    if (!filmId) {
        window_.msgBox(portal::kNoFilmMessage);
        return;
    }
    const QString filmName = content.locationName();
    navigate(main_window::kListPane,
             portal::addFavouriteAddress(baseUrl_, *filmId, filmName, encoding_));
    setTab(main_window::kFavouritesTabOn);
}

void MainCommands::nowPlaying() {
    if (portal::isPlaying(window_.browser(main_window::kPlayPane).locationURL())) {
        setFullWindow(true);
    } else {
        window_.msgBox(u"您没有正在播放的电影"_s);
    }
}

void MainCommands::stopPlaying() {
    navigate(main_window::kPlayPane, portal::kBlankPage);
}

void MainCommands::recentlyPlayed() {
    navigate(main_window::kContentPane, portal::recentlyPlayedAddress(baseUrl_));
}

void MainCommands::liveBroadcast() {
    navigate(main_window::kContentPane, portal::liveTvAddress(baseUrl_));
    navigate(main_window::kPlayPane, portal::kBlankPage);
}

void MainCommands::liveFromControlBar() {
    setFullWindow(false);
    navigate(main_window::kPlayPane, portal::kBlankPage);
    navigate(main_window::kContentPane, portal::liveTvAddress(baseUrl_));
}

void MainCommands::stopFromControlBar() {
    setFullWindow(false);
    navigate(main_window::kPlayPane, portal::kBlankPage);
}

void MainCommands::backToHall() {
    setFullWindow(false);
}

void MainCommands::favouritesList() {
    setTab(main_window::kFavouritesTabOn);
    navigate(main_window::kListPane, portal::favouritesAddress(baseUrl_));
    setFullWindow(false);
}

void MainCommands::clearFavourites() {
    setTab(main_window::kFavouritesTabOn);
    navigate(main_window::kListPane, portal::clearFavouritesAddress(baseUrl_));
    reportListLoad(u"清空成功！"_s, u"清空收藏夹失败：%1，请稍后重试。"_s);
}

void MainCommands::liveTv() {
    setFullWindow(false);
    navigate(main_window::kPlayPane, portal::kBlankPage);
    navigate(main_window::kContentPane, portal::liveTvAddress(baseUrl_));
    showContentPane();
}

void MainCommands::recentlyPlayedInContent() {
    setFullWindow(false);
    navigate(main_window::kContentPane, portal::recentlyPlayedAddress(baseUrl_));
    showContentPane();
}

QString MainCommands::playerProgramPath() const {
    return services_.programFolder() + u'/' + services_.playerProgramName();
}

void MainCommands::downloadList() {
    const QString path = playerProgramPath();
    const QFileInfo file(path);
    // Windows counts a program by its name's extension, elsewhere by its executable bit.
    if (!(file.isFile() && !file.isHidden() && file.isExecutable())) {
        window_.msgBox(u"您还没安装QVOD或者路径有错！"_s);
        return;
    }
    if (!services_.startProgram(path, {}, WindowStyle::NormalFocus)) {
        window_.msgBox(u"无法启动QVOD播放器，请检查该程序是否完好。"_s);
    }
}

void MainCommands::fullScreenHint() {
    window_.msgBox(u"双击播放窗口全屏播放！"_s);
}

void MainCommands::volumeControl() {
    for (const QString& mixer : services_.volumeControls()) {
        const QString path = services_.findExecutable(mixer);
        if (!path.isEmpty() && services_.startProgram(path, {}, WindowStyle::NormalFocus)) {
            return;
        }
    }
    window_.msgBox(u"无法打开音量控制：本机没有找到可用的音量控制程序。"_s);
}

void MainCommands::refreshData() {
    window_.browser(main_window::kListPane).refresh();
    reportListLoad(u"电影列表数据刷新成功！"_s, u"电影列表数据刷新失败：%1，请稍后重试。"_s);
}

void MainCommands::help() {
    forms_.form(FormId::Help).show();
}

void MainCommands::programUpdate() {
    forms_.form(FormId::Update).show();
}

void MainCommands::officialWebSite() {
    if (!services_.openUrl(QUrl(siteRoot_))) {
        window_.msgBox(u"无法打开官方网站，请检查系统的默认浏览器设置。"_s);
    }
}

void MainCommands::about() {
    forms_.form(FormId::About).show();
}

void MainCommands::quit() {
    window_.unload();
}

void MainCommands::reportListLoad(const QString& success, const QString& failure) {
    QObject::disconnect(pendingReport_);
    BrowserPane* list = &window_.browser(main_window::kListPane);
    const quint64 navigation = list->lastNavigation();
    // Reported once the portal has answered the navigation just started, so a failed load is never
    // called a success and an earlier page still arriving is not taken for the answer.
    pendingReport_ = QObject::connect(
        list, &BrowserPane::documentComplete, &window_, [this, list, navigation, success, failure] {
            if (list->completedNavigation() < navigation) {
                return;
            }
            QObject::disconnect(pendingReport_);
            if (list->completedNavigation() > navigation) {
                return;  // overtaken by a later navigation: there is no answer to report
            }
            window_.dispatch([&] {
                switch (list->lastLoadOutcome()) {
                    case LoadOutcome::Succeeded:
                        window_.msgBox(success);
                        return;
                    case LoadOutcome::HttpError:
                    case LoadOutcome::NotAPage:
                        window_.msgBox(failure.arg(u"服务器返回错误"_s));
                        return;
                    case LoadOutcome::Unreachable:
                        window_.msgBox(failure.arg(u"无法连接服务器"_s));
                        return;
                    case LoadOutcome::Stopped:
                        window_.msgBox(failure.arg(u"页面已停止响应"_s));
                        return;
                }
            });
        });
}

std::optional<QString> MainCommands::selectedFilm() const {
    const BrowserPane& content = window_.browser(main_window::kContentPane);
    // A film page that failed to load selects nothing: there is no film on the screen.
    if (content.showsErrorPage()) {
        return std::nullopt;
    }
    return portal::selectedFilmId(content.locationURL());
}

void MainCommands::navigate(QStringView pane, const QString& address) {
    window_.browser(pane).navigate(address);
}

void MainCommands::show(QStringView control, bool visible) {
    window_.control(control).setVisible(visible);
}

void MainCommands::showContentPane() {
    show(main_window::kContentFrame, true);
    for (const QStringView button : main_window::kContentButtons) {
        show(button, true);
    }
}

void MainCommands::setFullWindow(bool shown) {
    show(main_window::kPlayFrame, shown);
    show(main_window::kControlBar, shown);
    // The play page plays: no screen saver over it.
    services_.keepAwake(&window_, shown);
}

void MainCommands::setTab(QStringView inForce) {
    show(main_window::kSearchTabOn, inForce == main_window::kSearchTabOn);
    show(main_window::kFilmListTabOn, inForce == main_window::kFilmListTabOn);
    show(main_window::kFavouritesTabOn, inForce == main_window::kFavouritesTabOn);
}

}  // namespace tivora
