#pragma once

#include "forms/FileDialog.h"

#include <QPointer>
#include <QWidget>

namespace tivora {

// The open-file dialog as Qt draws it, in Chinese like the rest of the program.
class QtFileDialog final : public FileDialog {
public:
    explicit QtFileDialog(QWidget* parent);

    void showOpen() override;

private:
    QPointer<QWidget> parent_;
};

}  // namespace tivora
