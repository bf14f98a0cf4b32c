#pragma once

#include "forms/Form.h"

namespace tivora {

// The about window: a borderless picture with the product's name and version.
class AboutWindow final : public Form {
    Q_OBJECT

public:
    explicit AboutWindow(Services& services);

protected:
    [[nodiscard]] const FormDesign& design() const override;
    [[nodiscard]] std::span<const DesignRow> designTable() const override;
    void bindEvents() override;
    void onLoad() override;
};

}  // namespace tivora
