#include "forms/ControlWidgets.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace tivora {

ClickableLabel::ClickableLabel(QWidget* parent) : QLabel(parent) {
    setMouseTracking(true);
}

void ClickableLabel::setPicture(const QPixmap& picture, bool stretch) {
    picture_ = picture;
    stretch_ = stretch;
    update();
}

void ClickableLabel::paintEvent(QPaintEvent* event) {
    if (picture_.isNull()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    if (stretch_) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(rect(), picture_);
    } else {
        painter.drawPixmap(0, 0, picture_);
    }
}

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = true;
    QLabel::mousePressEvent(event);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && rect().contains(event->position().toPoint());
    pressed_ = false;
    QLabel::mouseReleaseEvent(event);
    if (click) {
        Q_EMIT clicked(event->button());
    }
}

void ClickableLabel::mouseMoveEvent(QMouseEvent* event) {
    QLabel::mouseMoveEvent(event);
    Q_EMIT mouseMoved();
}

TextBox::TextBox(QWidget* parent) : QLineEdit(parent) {}

void TextBox::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event);
    if (rect().contains(event->position().toPoint())) {
        Q_EMIT clicked();
    }
}

void TextBox::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const QString text = event->text();
    if (enter) {
        Q_EMIT keyPressed(13);
    } else if (!text.isEmpty()) {
        Q_EMIT keyPressed(text.front().unicode());
    }
    QLineEdit::keyPressEvent(event);
}

Container::Container(QWidget* parent) : QWidget(parent) {}

void Container::setBackgroundArt(const QPixmap& pixmap) {
    art_ = pixmap;
    update();
}

void Container::setBackgroundColour(const QColor& colour) {
    colour_ = colour;
    update();
}

void Container::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    if (colour_.isValid()) {
        painter.fillRect(rect(), colour_);
    }
    if (!art_.isNull()) {
        painter.drawPixmap(0, 0, art_);
    }
}

}  // namespace tivora
