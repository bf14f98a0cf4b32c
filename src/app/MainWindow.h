#pragma once

#include "app/MainMenu.h"
#include "forms/Form.h"
#include "portal/PortalAddresses.h"

#include <QPointer>

#include <memory>

namespace tivora {

class Forms;
class MainCommands;

// The main window: film list, content and full-window panes under picture toolbars.
class MainWindow final : public Form {
    Q_OBJECT

public:
    MainWindow(Services& services, Forms& forms, QString portalRoot, QString siteRoot,
               portal::QueryEncoding encoding = portal::QueryEncoding::Utf8);
    ~MainWindow() override;

    // The popup main menu; null while the window is not loaded.
    [[nodiscard]] MainMenu* mainMenu() const { return menu_; }

    // The portal server root every portal address is built on; set once at load.
    [[nodiscard]] const QString& portalBaseUrl() const { return portalBaseUrl_; }

protected:
    [[nodiscard]] const FormDesign& design() const override;
    [[nodiscard]] std::span<const DesignRow> designTable() const override;
    void bindEvents() override;
    void onLoad() override;
    void onResize() override;
    void onUnload(int& cancel) override;
    void onFilesDropped(const QStringList& paths) override;

private:
    void showCaption(QStringView button, const QString& text);
    void hideCaption();
    // Panes that show their error page load their page again.
    void reloadFailedPanes();

    Forms& forms_;
    const QString portalRoot_;
    QString portalBaseUrl_;
    std::unique_ptr<MainCommands> commands_;
    QPointer<MainMenu> menu_;
};

}  // namespace tivora
