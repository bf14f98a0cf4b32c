#include "app/MainMenu.h"

#include "forms/FormError.h"
#include "portal/MainMenuItems.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

struct MenuRow {
    QStringView name;
    const char16_t* caption;
    QStringView parent;  // empty: directly under the main menu
    Qt::Key shortcut;
    bool submenu;
};

// In display order.
constexpr MenuRow kMenu[] = {
    {menu::kOpen, u"打开", {}, Qt::Key_unknown, false},
    {menu::kFavouritesMenu, u"收藏", {}, Qt::Key_unknown, true},
    {menu::kFavouritesList, u"收藏夹", menu::kFavouritesMenu, Qt::Key_unknown, false},
    {menu::kAddFavourite, u"加入收藏", menu::kFavouritesMenu, Qt::Key_F4, false},
    {menu::kClearFavourites, u"清空收藏夹", menu::kFavouritesMenu, Qt::Key_unknown, false},
    {menu::kPlayMenu, u"播放", {}, Qt::Key_unknown, true},
    {menu::kPlayFilm, u"播放电影", menu::kPlayMenu, Qt::Key_unknown, false},
    {menu::kLiveTv, u"在线直播", menu::kPlayMenu, Qt::Key_unknown, false},
    {menu::kNowPlaying, u"正在播放", menu::kPlayMenu, Qt::Key_unknown, false},
    {menu::kStopPlaying, u"停止播放", menu::kPlayMenu, Qt::Key_unknown, false},
    {menu::kRecentlyPlayed, u"最近播放", menu::kPlayMenu, Qt::Key_unknown, false},
    {menu::kDownloadList, u"下载列表", menu::kPlayMenu, Qt::Key_F6, false},
    {menu::kFullScreen, u"全屏播放", menu::kPlayMenu, Qt::Key_unknown, false},
    {menu::kVolumeControl, u"音量控制", menu::kPlayMenu, Qt::Key_unknown, false},
    {menu::kNavigationMenu, u"导航", {}, Qt::Key_unknown, true},
    {menu::kHall, u"电影大厅", menu::kNavigationMenu, Qt::Key_F2, false},
    {menu::kPlayCentre, u"播放中心", menu::kNavigationMenu, Qt::Key_F3, false},
    {menu::kRefresh, u"刷新数据", menu::kNavigationMenu, Qt::Key_F5, false},
    {menu::kAboutMenu, u"关于", {}, Qt::Key_unknown, true},
    {menu::kHelp, u"使用帮助", menu::kAboutMenu, Qt::Key_F1, false},
    {menu::kUpdate, u"程序更新", menu::kAboutMenu, Qt::Key_unknown, false},
    {menu::kWebSite, u"官方网站", menu::kAboutMenu, Qt::Key_unknown, false},
    {menu::kAbout, u"关于点播", menu::kAboutMenu, Qt::Key_unknown, false},
    {menu::kQuit, u"退出点播", {}, Qt::Key_unknown, false},
};

}  // namespace

MainMenu::MainMenu(QWidget* window) : QObject(window), caidan_(new QMenu(u"菜单"_s, window)) {
    caidan_->setObjectName(menu::kMainMenu.toString());
    std::map<QString, QMenu*> menus{{QString(), caidan_.data()}};
    for (const MenuRow& row : kMenu) {
        const QString name = row.name.toString();
        QMenu* parent = menus.at(row.parent.toString());
        QAction* action = nullptr;
        if (row.submenu) {
            QMenu* submenu = parent->addMenu(QString::fromUtf16(row.caption));
            submenu->setObjectName(name);
            menus.emplace(name, submenu);
            action = submenu->menuAction();
        } else {
            action = parent->addAction(QString::fromUtf16(row.caption));
            if (row.shortcut != Qt::Key_unknown) {
                action->setShortcut(QKeySequence(row.shortcut));
                action->setShortcutContext(Qt::WindowShortcut);
                window->addAction(action);
            }
        }
        action->setObjectName(name);
        items_.emplace(name, action);
    }
}

QAction* MainMenu::item(QStringView name) const {
    const auto found = items_.find(name.toString());
    if (found == items_.end() || found->second.isNull()) {
        throw FormError(u"No menu item named "_s + name.toString());
    }
    return found->second;
}

void MainMenu::popup() {
    caidan_->exec(QCursor::pos());
}

}  // namespace tivora
