#include "support/TestWindows.h"

#include "forms/Control.h"
#include "forms/ControlWidgets.h"
#include "forms/Form.h"
#include "forms/FormError.h"

#include <QPushButton>

using namespace Qt::StringLiterals;

namespace tivora::test {

TestWindows::TestWindows(AppConfig config) : forms(services, std::move(config)) {}

TestWindows::~TestWindows() = default;

FakeBrowserPane& TestWindows::pane(QStringView name, const QString& windowTitle) const {
    FakeBrowserPane* found = services.pane(name, windowTitle);
    if (found == nullptr) {
        throw FormError(u"No fake pane named "_s + name.toString());
    }
    return *found;
}

void TestWindows::click(const Form& window, QStringView control) {
    QWidget* widget = window.control(control).widget();
    if (auto* label = qobject_cast<ClickableLabel*>(widget)) {
        Q_EMIT label->clicked(Qt::LeftButton);
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
        button->click();
    } else {
        throw FormError(control.toString() + u" cannot be clicked"_s);
    }
}

}  // namespace tivora::test
