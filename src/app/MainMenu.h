#pragma once

#include <QObject>
#include <QPointer>

#include <map>

class QAction;
#include <QMenu>
class QWidget;

namespace tivora {

// The main window's hidden menu "caidan", shown as a popup. Its shortcut keys also act while the
// popup is closed, whenever the main window is active.
class MainMenu final : public QObject {
    Q_OBJECT

public:
    explicit MainMenu(QWidget* window);

    [[nodiscard]] QMenu* caidan() const { return caidan_; }
    // The item of that name (leaf or submenu header); throws FormError when there is none.
    [[nodiscard]] QAction* item(QStringView name) const;
    // Pops the menu up at the mouse pointer; returns when it closes.
    void popup();

private:
    QPointer<QMenu> caidan_;
    std::map<QString, QPointer<QAction>> items_;
};

}  // namespace tivora
