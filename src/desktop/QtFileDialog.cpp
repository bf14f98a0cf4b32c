#include "desktop/QtFileDialog.h"

#include "desktop/PlatformConventions.h"

#include <QFileDialog>
#include <QTimer>

#include <chrono>

namespace tivora {
namespace {

constexpr std::chrono::milliseconds kTakeDownDelay{1000};

}  // namespace

QtFileDialog::QtFileDialog(QWidget* parent) : parent_(parent) {}

void QtFileDialog::showOpen() {
    QString filters = toQtNameFilters(filter());
    if (platform::fileNamesAreCaseSensitive()) {
        // Names on disk come in any case, as on the systems these files come from.
        filters = caselessNameFilters(filters);
    }
    // As QFileDialog::getOpenFileName, but taken down a moment after the caller has acted on the
    // choice: saving its state and stopping its folder watcher block for long enough to delay the
    // start of the film just chosen.
    // Guarded: closing the parent window during the dialog takes the dialog with it.
    const QPointer<QFileDialog> dialog = new QFileDialog(parent_, QString(), initDir(), filters);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setOptions(QFileDialog::HideNameFilterDetails);
    // Told before the dialog hides and the windows under it are drawn again.
    bool reported = false;
    QObject::connect(dialog, &QFileDialog::fileSelected, dialog,
                     [this, &reported](const QString& file) {
                         reported = true;
                         reportChosenFile(file);
                     });
    const bool accepted = dialog->exec() == QDialog::Accepted && !dialog.isNull();
    const QString chosen = accepted ? dialog->selectedFiles().value(0) : QString();
    if (dialog) {
        QObject::disconnect(dialog, &QFileDialog::fileSelected, nullptr, nullptr);
        QTimer::singleShot(kTakeDownDelay, dialog, &QObject::deleteLater);
    }
    if (!chosen.isEmpty() && !reported) {
        reportChosenFile(chosen);
    }
}

}  // namespace tivora
