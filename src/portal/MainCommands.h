#pragma once

#include "portal/PortalAddresses.h"

#include <QMetaObject>
#include <QString>

#include <functional>
#include <optional>
#include <span>

namespace tivora {

class Form;
class FormDirectory;
class Services;

// The commands behind the main window's pictures, search box and menu items. Each is written once;
// the binding tables below tie it to all its triggers.
class MainCommands final {
public:
    MainCommands(Form& window, FormDirectory& forms, Services& services, const QString& baseUrl,
                 QString siteRoot, std::function<void()> popupMainMenu,
                 portal::QueryEncoding encoding = portal::QueryEncoding::Utf8);

    void localPlayback();
    void onlineOnDemand();
    void tvLive();
    void filmListTab();
    void favouritesTab();
    void search();
    void clearSearchBox();
    void showMainMenu();
    void play();
    void addToFavourites();
    void nowPlaying();
    void stopPlaying();
    void recentlyPlayed();
    void liveBroadcast();
    void liveFromControlBar();
    void stopFromControlBar();
    void backToHall();

    // Menu items of their own.
    void favouritesList();
    void clearFavourites();
    void liveTv();
    void recentlyPlayedInContent();
    void downloadList();
    void fullScreenHint();
    void volumeControl();
    void refreshData();
    void help();
    void programUpdate();
    void officialWebSite();
    void about();
    void quit();

    // The two pane states, as the new-window handlers switch them too.
    void showContentPane();
    void setFullWindow(bool shown);

    // Where the stand-alone player program is looked for.
    [[nodiscard]] QString playerProgramPath() const;

    struct Binding {
        QStringView trigger;  // a picture's or a menu item's name
        void (MainCommands::*run)();
    };
    [[nodiscard]] static std::span<const Binding> pictureBindings();
    [[nodiscard]] static std::span<const Binding> menuBindings();

private:
    [[nodiscard]] std::optional<QString> selectedFilm() const;
    void navigate(QStringView pane, const QString& address);
    void show(QStringView control, bool visible);
    void setTab(QStringView inForce);
    // Reports how the film list pane's navigation just started ended: success, or failure with
    // its cause in place of %1.
    void reportListLoad(const QString& success, const QString& failure);

    Form& window_;
    FormDirectory& forms_;
    Services& services_;
    const QString& baseUrl_;
    QString siteRoot_;
    portal::QueryEncoding encoding_;
    QMetaObject::Connection pendingReport_;
    std::function<void()> popupMainMenu_;
};

}  // namespace tivora
