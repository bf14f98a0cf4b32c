#pragma once

#include "forms/DesignRow.h"

#include <QPointer>
#include <QString>
#include <QWidget>

namespace tivora {

class BrowserPane;

// A placed control: geometry kept in twips exactly as written, the widget placed at whole pixels.
class Control final {
public:
    Control(const DesignRow& row, QWidget* widget, BrowserPane* pane = nullptr);
    Q_DISABLE_COPY_MOVE(Control)
    ~Control() = default;

    [[nodiscard]] const QString& name() const { return name_; }
    [[nodiscard]] ControlKind kind() const { return kind_; }
    [[nodiscard]] QWidget* widget() const { return widget_; }
    // The pane of a browser control; throws FormError for other kinds.
    [[nodiscard]] BrowserPane& browser() const;

    [[nodiscard]] float left() const { return left_; }
    [[nodiscard]] float top() const { return top_; }
    [[nodiscard]] float width() const { return width_; }
    [[nodiscard]] float height() const { return height_; }
    void setLeft(float twips);
    void setTop(float twips);
    // Negative sizes throw InvalidPropertyValue and change nothing.
    void setWidth(float twips);
    void setHeight(float twips);

    [[nodiscard]] bool visible() const { return visible_; }
    void setVisible(bool visible);

    // Label, text box and button text. An auto-sized label takes the size of its new text.
    [[nodiscard]] QString caption() const;
    void setCaption(const QString& text);

private:
    void place();

    QString name_;
    ControlKind kind_;
    QPointer<QWidget> widget_;
    QPointer<BrowserPane> pane_;
    float left_;
    float top_;
    float width_;
    float height_;
    bool visible_;
    bool autoSize_;
};

}  // namespace tivora
