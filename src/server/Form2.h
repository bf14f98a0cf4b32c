#pragma once

#include "Form.h"

namespace tivora {

// The about window: a borderless picture with the product's name and version.
class Form2 final : public Form {
    Q_OBJECT

public:
    explicit Form2(Services& services);

protected:
    [[nodiscard]] const FormDesign& design() const override;
    [[nodiscard]] std::span<const DesignRow> designTable() const override;
    void bindEvents() override;
    void onLoad() override;
};

}  // namespace tivora
