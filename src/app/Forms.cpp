#include "app/Forms.h"

#include "app/MainWindow.h"
#include "player/PlayerWindow.h"
#include "server/AboutWindow.h"
#include "server/HelpWindow.h"
#include "server/ServerConnectionWindow.h"
#include "server/UpdateWindow.h"

namespace tivora {

Forms::Forms(Services& services, AppConfig config)
    : services_(services), config_(std::move(config)) {}

Forms::~Forms() {
    // The main window goes last: side windows may still refer to it while closing.
    player_.reset();
    update_.reset();
    help_.reset();
    serverConnection_.reset();
    about_.reset();
    main_.reset();
}

MainWindow& Forms::mainWindow() {
    if (!main_) {
        main_ = std::make_unique<MainWindow>(services_, *this, config_.portalRoot, config_.siteRoot,
                                             config_.portalEncoding);
    }
    return *main_;
}

AboutWindow& Forms::aboutWindow() {
    if (!about_) {
        about_ = std::make_unique<AboutWindow>(services_);
    }
    return *about_;
}

ServerConnectionWindow& Forms::serverConnectionWindow() {
    if (!serverConnection_) {
        serverConnection_ = std::make_unique<ServerConnectionWindow>(
            services_, *this, config_.portalRoot,
            ContactNumbers{config_.adminQQ, config_.groupQQ1, config_.groupQQ2});
    }
    return *serverConnection_;
}

HelpWindow& Forms::helpWindow() {
    if (!help_) {
        help_ = std::make_unique<HelpWindow>(services_, config_.siteRoot);
    }
    return *help_;
}

UpdateWindow& Forms::updateWindow() {
    if (!update_) {
        update_ = std::make_unique<UpdateWindow>(services_, config_.portalRoot);
    }
    return *update_;
}

PlayerWindow& Forms::playerWindow() {
    if (!player_) {
        player_ = std::make_unique<PlayerWindow>(services_, *this);
    }
    return *player_;
}

Form& Forms::form(FormId id) {
    switch (id) {
        case FormId::Main:
            return mainWindow();
        case FormId::About:
            return aboutWindow();
        case FormId::ServerConnection:
            return serverConnectionWindow();
        case FormId::Help:
            return helpWindow();
        case FormId::Update:
            return updateWindow();
        case FormId::Player:
            break;
    }
    return playerWindow();
}

bool Forms::exists(FormId id) const {
    switch (id) {
        case FormId::Main:
            return main_ != nullptr;
        case FormId::About:
            return about_ != nullptr;
        case FormId::ServerConnection:
            return serverConnection_ != nullptr;
        case FormId::Help:
            return help_ != nullptr;
        case FormId::Update:
            return update_ != nullptr;
        case FormId::Player:
            break;
    }
    return player_ != nullptr;
}

}  // namespace tivora
