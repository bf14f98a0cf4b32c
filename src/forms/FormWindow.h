#pragma once

#include <QPixmap>
#include <QWidget>

namespace tivora {

class Form;

// The top-level widget of a loaded form; hands its window events to the form.
class FormWindow final : public QWidget {
    Q_OBJECT

public:
    FormWindow(Form& form, Qt::WindowFlags flags);

    void setBackgroundArt(const QPixmap& art);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    Form& form_;
    QPixmap background_;
};

}  // namespace tivora
