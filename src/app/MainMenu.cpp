#include "MainMenu.h"

#include "FormError.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

struct MenuRow {
    const char16_t* name;
    const char16_t* caption;
    const char16_t* parent;  // empty: directly under caidan
    Qt::Key shortcut;
    bool submenu;
};

// In display order.
constexpr MenuRow kMenu[] = {
    {u"dakai", u"打开", u"", Qt::Key_unknown, false},
    {u"sc", u"收藏", u"", Qt::Key_unknown, true},
    {u"scj1", u"收藏夹", u"sc", Qt::Key_unknown, false},
    {u"scj2", u"加入收藏", u"sc", Qt::Key_F4, false},
    {u"scj3", u"清空收藏夹", u"sc", Qt::Key_unknown, false},
    {u"fa", u"播放", u"", Qt::Key_unknown, true},
    {u"bf1", u"播放电影", u"fa", Qt::Key_unknown, false},
    {u"zb1", u"在线直播", u"fa", Qt::Key_unknown, false},
    {u"bf2", u"正在播放", u"fa", Qt::Key_unknown, false},
    {u"bf3", u"停止播放", u"fa", Qt::Key_unknown, false},
    {u"bf4", u"最近播放", u"fa", Qt::Key_unknown, false},
    {u"bf5", u"下载列表", u"fa", Qt::Key_F6, false},
    {u"bf6", u"全屏播放", u"fa", Qt::Key_unknown, false},
    {u"bf7", u"音量控制", u"fa", Qt::Key_unknown, false},
    {u"dh", u"导航", u"", Qt::Key_unknown, true},
    {u"dh1", u"电影大厅", u"dh", Qt::Key_F2, false},
    {u"dh2", u"播放中心", u"dh", Qt::Key_F3, false},
    {u"dh3", u"刷新数据", u"dh", Qt::Key_F5, false},
    {u"guanyu", u"关于", u"", Qt::Key_unknown, true},
    {u"gy1", u"使用帮助", u"guanyu", Qt::Key_F1, false},
    {u"gy2", u"程序更新", u"guanyu", Qt::Key_unknown, false},
    {u"gy3", u"官方网站", u"guanyu", Qt::Key_unknown, false},
    {u"gy4", u"关于点播", u"guanyu", Qt::Key_unknown, false},
    {u"endvr", u"退出点播", u"", Qt::Key_unknown, false},
};

}  // namespace

MainMenu::MainMenu(QWidget* window) : QObject(window), caidan_(new QMenu(u"菜单"_s, window)) {
    caidan_->setObjectName(u"caidan"_s);
    std::map<QString, QMenu*> menus{{QString(), caidan_.data()}};
    for (const MenuRow& row : kMenu) {
        const QString name = QString::fromUtf16(row.name);
        QMenu* parent = menus.at(QString::fromUtf16(row.parent));
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

QAction* MainMenu::item(const QString& name) const {
    const auto found = items_.find(name);
    if (found == items_.end() || found->second.isNull()) {
        throw FormError(u"No menu item named "_s + name);
    }
    return found->second;
}

void MainMenu::popup() {
    caidan_->exec(QCursor::pos());
}

}  // namespace tivora
