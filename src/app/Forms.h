#pragma once

#include "AppConfig.h"
#include "FormDirectory.h"

#include <array>
#include <memory>

namespace tivora {

class Services;

// Creates each window object the first time it is asked for; they live until the program ends.
class Forms final : public FormDirectory {
public:
    Forms(Services& services, AppConfig config);
    ~Forms() override;

    [[nodiscard]] Form& form(FormId id) override;
    [[nodiscard]] bool exists(FormId id) const override;

    [[nodiscard]] const AppConfig& config() const { return config_; }

private:
    [[nodiscard]] std::unique_ptr<Form> create(FormId id);

    Services& services_;
    AppConfig config_;
    std::array<std::unique_ptr<Form>, 6> forms_;
};

}  // namespace tivora
