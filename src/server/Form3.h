#pragma once

#include "Form.h"

namespace tivora {

class FormDirectory;

// The server-connection window shown at start-up: the portal's notice page and its check page.
class Form3 final : public Form {
    Q_OBJECT

public:
    Form3(Services& services, FormDirectory& forms, const QString& portalRoot);

    [[nodiscard]] QString companionPageAddress() const { return companionPage_; }
    [[nodiscard]] QString checkPageAddress() const { return checkPage_; }

protected:
    [[nodiscard]] const FormDesign& design() const override;
    [[nodiscard]] std::span<const DesignRow> designTable() const override;
    void onLoad() override;

private:
    FormDirectory& forms_;
    const QString companionPage_;
    const QString checkPage_;
};

}  // namespace tivora
