#pragma once

#include "app/AppConfig.h"
#include "forms/FormDirectory.h"

#include <memory>

namespace tivora {

class AboutWindow;
class HelpWindow;
class MainWindow;
class PlayerWindow;
class Services;
class ServerConnectionWindow;
class UpdateWindow;

// Creates each window object the first time it is asked for; they live until the program ends.
// Callers that need a window's own commands ask for it by its type.
class Forms final : public FormDirectory {
public:
    Forms(Services& services, AppConfig config);
    ~Forms() override;
    Q_DISABLE_COPY_MOVE(Forms)

    [[nodiscard]] Form& form(FormId id) override;
    [[nodiscard]] bool exists(FormId id) const override;

    [[nodiscard]] MainWindow& mainWindow();
    [[nodiscard]] AboutWindow& aboutWindow();
    [[nodiscard]] ServerConnectionWindow& serverConnectionWindow();
    [[nodiscard]] HelpWindow& helpWindow();
    [[nodiscard]] UpdateWindow& updateWindow();
    [[nodiscard]] PlayerWindow& playerWindow();

    [[nodiscard]] const AppConfig& config() const { return config_; }

private:
    Services& services_;
    AppConfig config_;
    std::unique_ptr<MainWindow> main_;
    std::unique_ptr<AboutWindow> about_;
    std::unique_ptr<ServerConnectionWindow> serverConnection_;
    std::unique_ptr<HelpWindow> help_;
    std::unique_ptr<UpdateWindow> update_;
    std::unique_ptr<PlayerWindow> player_;
};

}  // namespace tivora
