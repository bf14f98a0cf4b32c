#include "forms/LayoutSteps.h"

#include "forms/Control.h"
#include "forms/Form.h"
#include "forms/FormError.h"

namespace tivora::layout {

Target::~Target() = default;

float value(const Target& target, QStringView control, Prop prop) {
    return target.get(control, prop);
}

void apply(Target& target, const Step& step) {
    target.set(step.control, step.prop, step.formula(target));
}

void applySkippingFailures(Target& target, std::span<const Step> steps) {
    for (const Step& step : steps) {
        try {
            apply(target, step);
        } catch (const PropertyError&) {
            // Skipped on purpose: later steps read the value as it was.
        }
    }
}

void runSkippingFailures(std::initializer_list<std::function<void()>> steps) {
    for (const auto& step : steps) {
        try {
            step();
        } catch (const PropertyError&) {
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

float FormTarget::get(QStringView control, Prop prop) const {
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

void FormTarget::set(QStringView control, Prop prop, float value) {
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

void FormTarget::setVisible(QStringView control, bool visible) {
    form_.control(control).setVisible(visible);
}

}  // namespace tivora::layout
