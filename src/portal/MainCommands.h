#pragma once

#include <QString>

#include <functional>
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
                 std::function<void()> popupMainMenu);

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

    struct Binding {
        const char16_t* trigger;  // a picture's or a menu item's name
        void (MainCommands::*run)();
    };
    [[nodiscard]] static std::span<const Binding> pictureBindings();
    [[nodiscard]] static std::span<const Binding> menuBindings();

private:
    void navigate(const QString& pane, const QString& address);
    void show(const QString& control, bool visible);
    void showContentPane();
    void setFullWindow(bool shown);
    void setTab(const QString& inForce);

    Form& window_;
    FormDirectory& forms_;
    Services& services_;
    const QString& baseUrl_;
    std::function<void()> popupMainMenu_;
};

}  // namespace tivora
