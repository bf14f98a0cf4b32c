#include "browser/PaneContextMenu.h"

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QWebEngineContextMenuRequest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <optional>

using namespace Qt::StringLiterals;

namespace tivora {
namespace {

using Flag = QWebEngineContextMenuRequest::EditFlag;

struct Item {
    QWebEnginePage::WebAction action;
    QString text;
    // What the clicked place allows; none: the page's own action says.
    std::optional<Flag> allowedBy;
};

const Item kBack{QWebEnginePage::Back, u"后退"_s, {}};
const Item kForward{QWebEnginePage::Forward, u"前进"_s, {}};
const Item kReload{QWebEnginePage::Reload, u"刷新"_s, {}};
const Item kCopy{QWebEnginePage::Copy, u"复制"_s, Flag::CanCopy};
const Item kPaste{QWebEnginePage::Paste, u"粘贴"_s, Flag::CanPaste};
const Item kSelectAll{QWebEnginePage::SelectAll, u"全选"_s, Flag::CanSelectAll};
const Item kCopyLink{QWebEnginePage::CopyLinkToClipboard, u"复制链接地址"_s, {}};

// A null item stands for a separator.
QList<const Item*> itemsFor(const QWebEngineContextMenuRequest& request) {
    const bool selected = !request.selectedText().isEmpty();
    if (request.linkUrl().isValid()) {
        return selected ? QList<const Item*>{&kCopyLink, &kCopy} : QList<const Item*>{&kCopyLink};
    }
    if (request.isContentEditable()) {
        return {&kCopy, &kPaste, nullptr, &kSelectAll};
    }
    if (selected) {
        return {&kCopy};
    }
    return {&kBack, &kForward, &kReload, nullptr, &kSelectAll};
}

}  // namespace

PaneContextMenu::PaneContextMenu(QWebEngineView* view) : QObject(view), view_(view) {
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QWidget::customContextMenuRequested, this, &PaneContextMenu::show);
}

void PaneContextMenu::attach(QWebEngineView* view) {
    new PaneContextMenu(view);
}

QList<QAction*> PaneContextMenu::actionsFor(QWebEngineView* view,
                                            const QWebEngineContextMenuRequest& request,
                                            QObject* owner) {
    QWebEnginePage* page = view->page();
    QList<QAction*> actions;
    for (const Item* item : itemsFor(request)) {
        if (item == nullptr) {
            actions << nullptr;
            continue;
        }
        auto* action = new QAction(item->text, owner);
        action->setEnabled(item->allowedBy ? request.editFlags().testFlag(*item->allowedBy)
                                           : page->action(item->action)->isEnabled());
        const QWebEnginePage::WebAction webAction = item->action;
        QPointer<QWebEnginePage> target(page);
        connect(action, &QAction::triggered, owner, [target, webAction] {
            if (!target.isNull()) {
                target->triggerAction(webAction);
            }
        });
        actions << action;
    }
    return actions;
}

QMenu* PaneContextMenu::build(QWidget* parent, const QList<QAction*>& actions) {
    auto* menu = new QMenu(parent);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (QAction* action : actions) {
        if (action == nullptr) {
            menu->addSeparator();
        } else {
            action->setParent(menu);
            menu->addAction(action);
        }
    }
    return menu;
}

void PaneContextMenu::show(const QPoint& position) {
    const QWebEngineContextMenuRequest* request = view_->lastContextMenuRequest();
    if (request == nullptr) {
        return;
    }
    QMenu* menu = build(view_, actionsFor(view_, *request, view_));
    menu->popup(view_->mapToGlobal(position));
}

}  // namespace tivora
