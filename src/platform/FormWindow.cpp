#include "FormWindow.h"

#include "Form.h"

#include <QCloseEvent>

using namespace Qt::StringLiterals;

namespace tivora {

FormWindow::FormWindow(Form& form, Qt::WindowFlags flags) : QWidget(nullptr, flags), form_(form) {
    setObjectName(u"TivoraForm"_s);
    setAttribute(Qt::WA_DeleteOnClose, false);
}

void FormWindow::closeEvent(QCloseEvent* event) {
    // The form decides: its unload either cancels or destroys this widget later.
    event->ignore();
    form_.handleClose();
}

void FormWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    form_.handleResize();
}

void FormWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // Minimizing and restoring count as size changes, as the resize handlers expect.
    if (event->type() == QEvent::WindowStateChange) {
        form_.handleResize();
    }
}

}  // namespace tivora
