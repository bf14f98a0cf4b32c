#pragma once

#include "forms/Form.h"

namespace tivora {

// The help window: the maker's help page in a pane the size of the whole window.
class HelpWindow final : public Form {
    Q_OBJECT

public:
    HelpWindow(Services& services, const QString& siteRoot);

protected:
    [[nodiscard]] const FormDesign& design() const override;
    [[nodiscard]] std::span<const DesignRow> designTable() const override;
    void onLoad() override;
    void onResize() override;

private:
    const QString helpPage_;
};

}  // namespace tivora
