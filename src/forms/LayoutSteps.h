#pragma once

#include <QStringView>

#include <functional>
#include <initializer_list>
#include <span>

namespace tivora {
class Form;
}

// Resize handlers as tables of steps: each writes one property from the values as they stand,
// and a failing step is skipped without a word.
namespace tivora::layout {

enum class Prop { Left, Top, Width, Height };

// What a layout reads and writes. Writes may throw (a negative size); reads give the value as
// last written.
class Target {
public:
    Target() = default;
    virtual ~Target();
    Target(const Target&) = delete;
    Target& operator=(const Target&) = delete;

    // The window's outer size, read afresh at every use.
    [[nodiscard]] virtual float outerWidth() const = 0;
    [[nodiscard]] virtual float outerHeight() const = 0;
    [[nodiscard]] virtual float get(QStringView control, Prop prop) const = 0;
    virtual void set(QStringView control, Prop prop, float value) = 0;
    virtual void setVisible(QStringView control, bool visible) = 0;
};

struct Step {
    QStringView control;
    Prop prop;
    float (*formula)(const Target& target);
};

[[nodiscard]] float value(const Target& target, QStringView control, Prop prop);

// Runs one step; a failure escapes.
void apply(Target& target, const Step& step);
// Runs the steps in order, skipping those whose property write is refused (PropertyError). Any
// other failure, such as an unknown control, escapes.
void applySkippingFailures(Target& target, std::span<const Step> steps);
void runSkippingFailures(std::initializer_list<std::function<void()>> steps);

// The controls of a loaded window, in twips, and its outer size.
class FormTarget final : public Target {
public:
    explicit FormTarget(Form& form) : form_(form) {}
    [[nodiscard]] float outerWidth() const override;
    [[nodiscard]] float outerHeight() const override;
    [[nodiscard]] float get(QStringView control, Prop prop) const override;
    void set(QStringView control, Prop prop, float value) override;
    void setVisible(QStringView control, bool visible) override;

private:
    Form& form_;
};

}  // namespace tivora::layout
