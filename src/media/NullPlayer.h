#pragma once

#include "PlayerControl.h"

#include <QPointer>

class QLabel;

namespace tivora {

// Stands in where no video back end is available: a black area that says so when asked to play.
class NullPlayer final : public PlayerControl {
    Q_OBJECT

public:
    explicit NullPlayer(QWidget* parent);

    void stop() override;
    void setSource(const QString& path) override;
    void play() override;
    [[nodiscard]] QWidget* widget() const override;

private:
    QPointer<QLabel> area_;
};

}  // namespace tivora
