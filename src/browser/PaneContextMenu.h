#pragma once

#include <QList>
#include <QObject>
#include <QPoint>

class QAction;
class QMenu;
class QWebEngineContextMenuRequest;
class QWebEngineView;

namespace tivora {

// The right-click menu of a pane's view, in Chinese, holding only what keeps to the pane: moving
// through its own history, reloading and the clipboard. Nothing in it opens a window or saves.
class PaneContextMenu final : public QObject {
    Q_OBJECT

public:
    // Replaces the engine's own menu for view; the object belongs to view.
    static void attach(QWebEngineView* view);

    // The actions for what was clicked, owned by owner; a null action stands for a separator.
    [[nodiscard]] static QList<QAction*> actionsFor(QWebEngineView* view,
                                                    const QWebEngineContextMenuRequest& request,
                                                    QObject* owner);
    // A menu holding actions, deleted when it closes.
    [[nodiscard]] static QMenu* build(QWidget* parent, const QList<QAction*>& actions);

private:
    explicit PaneContextMenu(QWebEngineView* view);
    void show(const QPoint& position);

    QWebEngineView* view_;
};

}  // namespace tivora
