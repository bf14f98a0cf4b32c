#pragma once

#include "app/AppConfig.h"
#include "app/Forms.h"
#include "support/FakeServices.h"

#include <QStringView>

namespace tivora::test {

// The program's windows over fake services, as every window test builds them.
struct TestWindows {
    explicit TestWindows(AppConfig config);
    virtual ~TestWindows();
    Q_DISABLE_COPY_MOVE(TestWindows)

    [[nodiscard]] Form& form(FormId id) { return forms.form(id); }
    // The fake pane named so in the window titled windowTitle (any when empty).
    [[nodiscard]] FakeBrowserPane& pane(QStringView name, const QString& windowTitle = {}) const;
    // A left click on a picture, label or button.
    static void click(const Form& window, QStringView control);

    FakeServices services;
    Forms forms;
};

}  // namespace tivora::test
