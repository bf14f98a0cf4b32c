#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QWidget>

namespace tivora {

// A label that reports clicks and mouse moves, used for pictures and labels alike.
class ClickableLabel final : public QLabel {
    Q_OBJECT

public:
    explicit ClickableLabel(QWidget* parent);

    // Art drawn at its own size or stretched to the control; painted on demand, so a huge
    // control keeps no scaled copy.
    void setPicture(const QPixmap& picture, bool stretch);
    [[nodiscard]] const QPixmap& picture() const { return picture_; }

Q_SIGNALS:
    void clicked(Qt::MouseButton button);
    void mouseMoved();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool pressed_ = false;
    QPixmap picture_;
    bool stretch_ = false;
};

// A text box that reports clicks and every typed character.
class TextBox final : public QLineEdit {
    Q_OBJECT

public:
    explicit TextBox(QWidget* parent);

Q_SIGNALS:
    void clicked();
    void keyPressed(int keyAscii);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

// Frames and picture boxes: a container with an optional colour and unstretched bitmap behind.
class Container final : public QWidget {
    Q_OBJECT

public:
    explicit Container(QWidget* parent);
    void setBackgroundArt(const QPixmap& pixmap);
    void setBackgroundColour(const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap art_;
    QColor colour_;
};

}  // namespace tivora
