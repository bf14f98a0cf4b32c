#pragma once

#include <QString>

#include <functional>
#include <initializer_list>

namespace tivora::layout {

enum class Prop { Left, Top, Width, Height };

// What the main window's layout reads and writes. Writes may throw (a negative size); reads give
// the value as last written.
class Target {
public:
    Target() = default;
    virtual ~Target();
    Target(const Target&) = delete;
    Target& operator=(const Target&) = delete;

    // The window's outer size, read afresh at every use.
    [[nodiscard]] virtual float outerWidth() const = 0;
    [[nodiscard]] virtual float outerHeight() const = 0;
    [[nodiscard]] virtual float get(const QString& control, Prop prop) const = 0;
    virtual void set(const QString& control, Prop prop, float value) = 0;
};

// Runs each step in turn; a step that throws is skipped without a word.
void runSkippingFailures(std::initializer_list<std::function<void()>> steps);

// The 40 placement steps, in order, each skipped on failure.
void layOutMainWindow(Target& target);

}  // namespace tivora::layout
