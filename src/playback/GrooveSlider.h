#pragma once

#include <QSlider>

namespace tivora {

// A horizontal slider that tells the value under any point of its groove, so a click can jump
// there rather than a page at a time.
class GrooveSlider : public QSlider {
    Q_OBJECT

public:
    explicit GrooveSlider(QWidget* parent);

    // The value at a point of the groove.
    [[nodiscard]] int valueAt(int x) const;
};

}  // namespace tivora
