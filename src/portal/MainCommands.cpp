#include "MainCommands.h"

#include "BrowserPane.h"
#include "Control.h"
#include "Form.h"
#include "FormDirectory.h"
#include "PortalAddresses.h"
#include "Services.h"

#include <QFileInfo>
#include <QUrl>

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

// Menu items: those that repeat a picture's command run that very command.
constexpr C::Binding kMenuItems[] = {
    {u"dakai", &C::localPlayback},
    {u"scj1", &C::favouritesList},
    {u"scj2", &C::addToFavourites},
    {u"scj3", &C::clearFavourites},
    {u"bf1", &C::play},
    {u"zb1", &C::liveTv},
    {u"bf2", &C::nowPlaying},
    {u"bf3", &C::stopFromControlBar},
    {u"bf4", &C::recentlyPlayedInContent},
    {u"bf5", &C::downloadList},
    {u"bf6", &C::fullScreenHint},
    {u"bf7", &C::volumeControl},
    {u"dh1", &C::backToHall},
    {u"dh2", &C::nowPlaying},
    {u"dh3", &C::refreshData},
    {u"gy1", &C::help},
    {u"gy2", &C::programUpdate},
    {u"gy3", &C::officialWebSite},
    {u"gy4", &C::about},
    {u"endvr", &C::quit},
};

// Volume controls to try, in order.
#ifdef Q_OS_WIN
const QString kMixers[] = {u"Sndvol32.exe"_s, u"SndVol.exe"_s};
const QString kPlayerProgram = u"/QvodPlayer.exe"_s;
#else
const QString kMixers[] = {u"pavucontrol"_s,         u"pavucontrol-qt"_s, u"pwvucontrol"_s,
                           u"mate-volume-control"_s, u"kmix"_s,           u"qasmixer"_s,
                           u"gnome-alsamixer"_s,     u"alsamixergui"_s};
const QString kPlayerProgram = u"/QvodPlayer"_s;
#endif

const QString kContentButtons[] = {u"Image21"_s, u"Image22"_s, u"Image23"_s,
                                   u"Image24"_s, u"Image25"_s, u"Image26"_s};

}  // namespace

MainCommands::MainCommands(Form& window, FormDirectory& forms, Services& services,
                           const QString& baseUrl, QString siteRoot,
                           std::function<void()> popupMainMenu)
    : window_(window),
      forms_(forms),
      services_(services),
      baseUrl_(baseUrl),
      siteRoot_(std::move(siteRoot)),
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
    const auto filmId = selectedFilm();
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
    const auto filmId = selectedFilm();
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

void MainCommands::favouritesList() {
    setTab(u"Image7"_s);
    navigate(u"WebBrowser1"_s, portal::favouritesAddress(baseUrl_));
    setFullWindow(false);
}

void MainCommands::clearFavourites() {
    setTab(u"Image7"_s);
    reportListLoad(u"清空成功！"_s, u"清空收藏夹失败：无法连接服务器，请稍后重试。"_s);
    navigate(u"WebBrowser1"_s, portal::clearFavouritesAddress(baseUrl_));
}

void MainCommands::liveTv() {
    setFullWindow(false);
    navigate(u"WebBrowser2"_s, portal::kBlankPage);
    navigate(u"WebBrowser3"_s, portal::liveTvAddress(baseUrl_));
    showContentPane();
}

void MainCommands::recentlyPlayedInContent() {
    setFullWindow(false);
    navigate(u"WebBrowser3"_s, portal::recentlyPlayedAddress(baseUrl_));
    showContentPane();
}

QString MainCommands::playerProgramPath() const {
    return services_.programFolder() + kPlayerProgram;
}

void MainCommands::downloadList() {
    const QString path = playerProgramPath();
    const QFileInfo file(path);
    bool present = file.isFile() && !file.isHidden();
#ifndef Q_OS_WIN
    present = present && file.isExecutable();
#endif
    if (!present) {
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
    for (const QString& mixer : kMixers) {
        const QString path = services_.findExecutable(mixer);
        if (!path.isEmpty() && services_.startProgram(path, {}, WindowStyle::NormalFocus)) {
            return;
        }
    }
    window_.msgBox(u"无法打开音量控制：本机没有找到可用的音量控制程序。"_s);
}

void MainCommands::refreshData() {
    reportListLoad(u"电影列表数据刷新成功！"_s,
                   u"电影列表数据刷新失败：无法连接服务器，请稍后重试。"_s);
    window_.browser(u"WebBrowser1"_s).refresh();
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
    BrowserPane* list = &window_.browser(u"WebBrowser1"_s);
    // Reported once the portal has answered, so a failed load is never called a success.
    pendingReport_ = QObject::connect(
        list, &BrowserPane::documentComplete, &window_, [this, list, success, failure] {
            QObject::disconnect(pendingReport_);
            window_.dispatch(
                [&] { window_.msgBox(list->lastLoadSucceeded() ? success : failure); });
        });
}

std::optional<QString> MainCommands::selectedFilm() const {
    const BrowserPane& content = window_.browser(u"WebBrowser3"_s);
    // A film page that failed to load selects nothing: there is no film on the screen.
    if (content.showsErrorPage()) {
        return std::nullopt;
    }
    return portal::selectedFilmId(content.locationURL());
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
