#pragma once

#include <QString>

namespace tivora::playerlayout {

enum class Prop { Left, Top, Width, Height };

// What the player window's layout reads and writes. Writes may throw (a negative size); reads
// give the value as last written.
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
    virtual void setVisible(const QString& control, bool visible) = 0;
};

// The twelve resize steps in order, each skipped when it fails.
void layOutPlayerWindow(Target& target);

// Places the name banner by its label's current width; a failure escapes.
void placeBanner(Target& target);

// Gives the video the whole width and hides the list pane, until the next resize.
void hideList(Target& target);

}  // namespace tivora::playerlayout
