#include "MainCommands.h"

#include "BrowserPane.h"
#include "Control.h"
#include "Form.h"
#include "FormDirectory.h"
#include "MainMenuItems.h"
#include "MainWindowControls.h"
#include "PortalAddresses.h"
#include "Services.h"

#include <QFileInfo>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

using C = MainCommands;

constexpr C::Binding kPictures[] = {
    {form1::kLocalPlaybackButton, &C::localPlayback},
    {form1::kOnDemandButton, &C::onlineOnDemand},
    {form1::kTvLiveButton, &C::tvLive},
    {form1::kFilmListTab, &C::filmListTab},
    {form1::kFavouritesTab, &C::favouritesTab},
    {form1::kSearchTab, &C::search},
    {form1::kSearchButton, &C::search},
    {form1::kMenuButton, &C::showMainMenu},
    {form1::kBarMenuButton, &C::showMainMenu},
    {form1::kPlayButton, &C::play},
    {form1::kAddFavouriteButton, &C::addToFavourites},
    {form1::kBarFavouritesButton, &C::addToFavourites},
    {form1::kNowPlayingButton, &C::nowPlaying},
    {form1::kStopButton, &C::stopPlaying},
    {form1::kRecentButton, &C::recentlyPlayed},
    {form1::kLiveButton, &C::liveBroadcast},
    {form1::kBarLiveButton, &C::liveFromControlBar},
    {form1::kBarStopButton, &C::stopFromControlBar},
    {form1::kBarHallButton, &C::backToHall},
    {form1::kSearchBox, &C::clearSearchBox},
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
    forms_.form(FormId::Form6).show();
    window_.hide();
}

void MainCommands::onlineOnDemand() {
    window_.msgBox(u"请在右边的电影列表选择电影！"_s);
}

void MainCommands::tvLive() {
    navigate(form1::kContentPane, portal::liveTvAddress(baseUrl_));
    showContentPane();
}

void MainCommands::filmListTab() {
    setTab(form1::kFilmListTabOn);
    navigate(form1::kListPane, portal::filmListAddress(baseUrl_));
}

void MainCommands::favouritesTab() {
    setTab(form1::kFavouritesTabOn);
    navigate(form1::kListPane, portal::favouritesAddress(baseUrl_));
}

void MainCommands::search() {
    Control& box = window_.control(form1::kSearchBox);
    if (box.caption().size() < 2) {
        window_.msgBox(u"搜索关键字过短，最小输入两个关键字"_s);
        return;
    }
    navigate(form1::kListPane, portal::searchAddress(baseUrl_, box.caption(), encoding_));
    setTab(form1::kSearchTabOn);
}

void MainCommands::clearSearchBox() {
    window_.control(form1::kSearchBox).setCaption(QString());
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
    navigate(form1::kPlayPane, portal::playAddress(baseUrl_, *filmId));
    setFullWindow(true);
}

void MainCommands::addToFavourites() {
    BrowserPane& content = window_.browser(form1::kContentPane);
    const auto filmId = selectedFilm();
    if (!filmId) {
        window_.msgBox(portal::kNoFilmMessage);
        return;
    }
    const QString filmName = content.locationName();
    navigate(form1::kListPane, portal::addFavouriteAddress(baseUrl_, *filmId, filmName, encoding_));
    setTab(form1::kFavouritesTabOn);
}

void MainCommands::nowPlaying() {
    if (portal::isPlaying(window_.browser(form1::kPlayPane).locationURL())) {
        setFullWindow(true);
    } else {
        window_.msgBox(u"您没有正在播放的电影"_s);
    }
}

void MainCommands::stopPlaying() {
    navigate(form1::kPlayPane, portal::kBlankPage);
}

void MainCommands::recentlyPlayed() {
    navigate(form1::kContentPane, portal::recentlyPlayedAddress(baseUrl_));
}

void MainCommands::liveBroadcast() {
    navigate(form1::kContentPane, portal::liveTvAddress(baseUrl_));
    navigate(form1::kPlayPane, portal::kBlankPage);
}

void MainCommands::liveFromControlBar() {
    setFullWindow(false);
    navigate(form1::kPlayPane, portal::kBlankPage);
    navigate(form1::kContentPane, portal::liveTvAddress(baseUrl_));
}

void MainCommands::stopFromControlBar() {
    setFullWindow(false);
    navigate(form1::kPlayPane, portal::kBlankPage);
}

void MainCommands::backToHall() {
    setFullWindow(false);
}

void MainCommands::favouritesList() {
    setTab(form1::kFavouritesTabOn);
    navigate(form1::kListPane, portal::favouritesAddress(baseUrl_));
    setFullWindow(false);
}

void MainCommands::clearFavourites() {
    setTab(form1::kFavouritesTabOn);
    navigate(form1::kListPane, portal::clearFavouritesAddress(baseUrl_));
    reportListLoad(u"清空成功！"_s, u"清空收藏夹失败：%1，请稍后重试。"_s);
}

void MainCommands::liveTv() {
    setFullWindow(false);
    navigate(form1::kPlayPane, portal::kBlankPage);
    navigate(form1::kContentPane, portal::liveTvAddress(baseUrl_));
    showContentPane();
}

void MainCommands::recentlyPlayedInContent() {
    setFullWindow(false);
    navigate(form1::kContentPane, portal::recentlyPlayedAddress(baseUrl_));
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
    window_.browser(form1::kListPane).refresh();
    reportListLoad(u"电影列表数据刷新成功！"_s, u"电影列表数据刷新失败：%1，请稍后重试。"_s);
}

void MainCommands::help() {
    forms_.form(FormId::Form4).show();
}

void MainCommands::programUpdate() {
    forms_.form(FormId::Form5).show();
}

void MainCommands::officialWebSite() {
    if (!services_.openUrl(QUrl(siteRoot_))) {
        window_.msgBox(u"无法打开官方网站，请检查系统的默认浏览器设置。"_s);
    }
}

void MainCommands::about() {
    forms_.form(FormId::Form2).show();
}

void MainCommands::quit() {
    window_.unload();
}

void MainCommands::reportListLoad(const QString& success, const QString& failure) {
    QObject::disconnect(pendingReport_);
    BrowserPane* list = &window_.browser(form1::kListPane);
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
    const BrowserPane& content = window_.browser(form1::kContentPane);
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
    show(form1::kContentFrame, true);
    for (const QStringView button : form1::kContentButtons) {
        show(button, true);
    }
}

void MainCommands::setFullWindow(bool shown) {
    show(form1::kPlayFrame, shown);
    show(form1::kControlBar, shown);
    // The play page plays: no screen saver over it.
    services_.keepAwake(&window_, shown);
}

void MainCommands::setTab(QStringView inForce) {
    show(form1::kSearchTabOn, inForce == form1::kSearchTabOn);
    show(form1::kFilmListTabOn, inForce == form1::kFilmListTabOn);
    show(form1::kFavouritesTabOn, inForce == form1::kFavouritesTabOn);
}

}  // namespace tivora
