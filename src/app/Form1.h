#pragma once

#include "Form.h"

namespace tivora {

class FormDirectory;

// The main window: film list, content and full-window panes under picture toolbars.
class Form1 final : public Form {
    Q_OBJECT

public:
    Form1(Services& services, FormDirectory& forms, QString portalRoot);

    // The portal server root every portal address is built on; set once at load.
    [[nodiscard]] const QString& portalBaseUrl() const { return portalBaseUrl_; }

protected:
    [[nodiscard]] const FormDesign& design() const override;
    [[nodiscard]] std::span<const DesignRow> designTable() const override;
    [[nodiscard]] QPixmap art(const QString& key) const override;
    void onLoad() override;
    void onUnload(int& cancel) override;

private:
    FormDirectory& forms_;
    const QString portalRoot_;
    QString portalBaseUrl_;
};

}  // namespace tivora
