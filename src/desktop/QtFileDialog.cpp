#include "desktop/QtFileDialog.h"

#include "desktop/PlatformConventions.h"

#include <QFileDialog>

namespace tivora {

QtFileDialog::QtFileDialog(QWidget* parent) : parent_(parent) {}

void QtFileDialog::showOpen() {
    QString filters = toQtNameFilters(filter());
    if (platform::fileNamesAreCaseSensitive()) {
        // Names on disk come in any case, as on the systems these files come from.
        filters = caselessNameFilters(filters);
    }
    const QString chosen = QFileDialog::getOpenFileName(
        parent_, QString(), initDir(), filters, nullptr, QFileDialog::HideNameFilterDetails);
    if (!chosen.isEmpty()) {
        setChosenFile(chosen);
    }
}

}  // namespace tivora
