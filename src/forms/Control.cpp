#include "forms/Control.h"

#include "forms/BrowserPane.h"
#include "forms/FormError.h"
#include "forms/Twips.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>

#include <cmath>

using namespace Qt::StringLiterals;

namespace tivora {

Control::Control(const DesignRow& row, QWidget* widget, BrowserPane* pane)
    : name_(row.name.toString()),
      kind_(row.kind),
      widget_(widget),
      pane_(pane),
      left_(row.left),
      top_(row.top),
      width_(row.width),
      height_(row.height),
      visible_(row.visible),
      autoSize_(row.autoSize) {
    place();
    widget_->setVisible(visible_);
}

BrowserPane& Control::browser() const {
    if (pane_.isNull()) {
        throw FormError(name_ + u" is not a browser pane"_s);
    }
    return *pane_;
}

namespace {

// Beyond this a coordinate no longer fits the window system's integers: an overflow.
constexpr float kLargestTwips = 1.0e9F;

void checkRange(float twips, const QString& property) {
    if (!(std::abs(twips) <= kLargestTwips)) {
        throw InvalidPropertyValue(property);
    }
}

}  // namespace

void Control::setLeft(float twips) {
    checkRange(twips, name_ + u".Left"_s);
    left_ = twips;
    place();
}

void Control::setTop(float twips) {
    checkRange(twips, name_ + u".Top"_s);
    top_ = twips;
    place();
}

void Control::setWidth(float twips) {
    if (twips < 0) {
        throw InvalidPropertyValue(name_ + u".Width"_s);
    }
    checkRange(twips, name_ + u".Width"_s);
    width_ = twips;
    place();
}

void Control::setHeight(float twips) {
    if (twips < 0) {
        throw InvalidPropertyValue(name_ + u".Height"_s);
    }
    checkRange(twips, name_ + u".Height"_s);
    height_ = twips;
    place();
}

void Control::setVisible(bool visible) {
    visible_ = visible;
    if (widget_) {
        widget_->setVisible(visible);
    }
}

QString Control::caption() const {
    if (auto* label = qobject_cast<QLabel*>(widget_.data())) {
        return label->text();
    }
    if (auto* edit = qobject_cast<QLineEdit*>(widget_.data())) {
        return edit->text();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget_.data())) {
        return button->text();
    }
    return {};
}

void Control::setCaption(const QString& text) {
    if (auto* label = qobject_cast<QLabel*>(widget_.data())) {
        label->setText(text);
        if (autoSize_) {
            const QFontMetrics metrics(label->font());
            width_ = pixelsToTwips(metrics.horizontalAdvance(text));
            height_ = pixelsToTwips(metrics.height());
            place();
        }
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget_.data())) {
        edit->setText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget_.data())) {
        button->setText(text);
    } else {
        throw FormError(name_ + u" has no caption"_s);
    }
}

void Control::place() {
    if (widget_) {
        widget_->setGeometry(twipsToPixels(left_), twipsToPixels(top_), twipsToPixels(width_),
                             twipsToPixels(height_));
    }
}

}  // namespace tivora
