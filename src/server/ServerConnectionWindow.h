#pragma once

#include "forms/Form.h"
#include "server/ContactNumbers.h"

namespace tivora {

class FormDirectory;

// The server-connection window shown at start-up: shows the portal's notice page and checks the
// check page, then closes, offers the update window or offers to retry.
class ServerConnectionWindow final : public Form {
    Q_OBJECT

public:
    ServerConnectionWindow(Services& services, FormDirectory& forms, const QString& portalRoot,
                           ContactNumbers contacts);

    [[nodiscard]] QString connectionFailedQuestion() const;

Q_SIGNALS:
    // The check page came from the portal: pages that failed to load may be loaded again.
    void serverAnswered();

protected:
    [[nodiscard]] const FormDesign& design() const override;
    [[nodiscard]] std::span<const DesignRow> designTable() const override;
    void bindEvents() override;
    void onLoad() override;

private:
    void check();

    FormDirectory& forms_;
    const QString companionPage_;
    const QString checkPage_;
    const ContactNumbers contacts_;
};

}  // namespace tivora
