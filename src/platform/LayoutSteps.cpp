#include "LayoutSteps.h"

#include "Control.h"
#include "Form.h"

#include <exception>

namespace tivora::layout {

Target::~Target() = default;

float value(const Target& target, const char16_t* control, Prop prop) {
    return target.get(QString::fromUtf16(control), prop);
}

void apply(Target& target, const Step& step) {
    target.set(QString::fromUtf16(step.control), step.prop, step.formula(target));
}

void applySkippingFailures(Target& target, std::span<const Step> steps) {
    for (const Step& step : steps) {
        try {
            apply(target, step);
        } catch (const std::exception&) {
            // Skipped on purpose: later steps read the value as it was.
        }
    }
}

void runSkippingFailures(std::initializer_list<std::function<void()>> steps) {
    for (const auto& step : steps) {
        try {
            step();
        } catch (const std::exception&) {
            // Skipped on purpose, like a failing layout step.
        }
    }
}

float FormTarget::outerWidth() const {
    return form_.width();
}

float FormTarget::outerHeight() const {
    return form_.height();
}

float FormTarget::get(const QString& control, Prop prop) const {
    const Control& c = form_.control(control);
    switch (prop) {
        case Prop::Left:
            return c.left();
        case Prop::Top:
            return c.top();
        case Prop::Width:
            return c.width();
        case Prop::Height:
            return c.height();
    }
    return 0;
}

void FormTarget::set(const QString& control, Prop prop, float value) {
    Control& c = form_.control(control);
    switch (prop) {
        case Prop::Left:
            c.setLeft(value);
            break;
        case Prop::Top:
            c.setTop(value);
            break;
        case Prop::Width:
            c.setWidth(value);
            break;
        case Prop::Height:
            c.setHeight(value);
            break;
    }
}

void FormTarget::setVisible(const QString& control, bool visible) {
    form_.control(control).setVisible(visible);
}

}  // namespace tivora::layout
