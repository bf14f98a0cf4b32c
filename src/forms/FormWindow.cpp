#include "forms/FormWindow.h"

#include "forms/Form.h"
#include "forms/LocalPath.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

using namespace Qt::StringLiterals;

namespace tivora {

FormWindow::FormWindow(Form& form, Qt::WindowFlags flags) : QWidget(nullptr, flags), form_(form) {
    setObjectName(u"TivoraForm"_s);
    setAttribute(Qt::WA_DeleteOnClose, false);
}

void FormWindow::setBackgroundArt(const QPixmap& art) {
    background_ = art;
    update();
}

void FormWindow::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    // Whatever the skin gives the window comes first; the window's picture over it.
    QStyleOption option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
    if (!background_.isNull()) {
        painter.drawPixmap(0, 0, background_);
    }
}

void FormWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void FormWindow::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            QString path = url.toLocalFile();
            // toLocalFile() shows bytes that are not UTF-8 as U+FFFD; the encoded path keeps them.
            if (path.contains(QChar::ReplacementCharacter)) {
                path = localpath::fromBytes(
                    QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
            }
            paths << path;
        }
    }
    event->acceptProposedAction();
    form_.handleDrop(paths);
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
