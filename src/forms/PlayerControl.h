#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

class QWidget;

namespace tivora {

// A video player control called by dispatch identifier, as the player window drives it.
class PlayerControl : public QObject {
    Q_OBJECT

public:
    static constexpr int kDispStop = 14;
    static constexpr int kDispSource = 1;
    static constexpr int kDispPlay = 12;

    using QObject::QObject;
    ~PlayerControl() override;

    // Runs the method or property write behind a dispatch identifier. Unknown identifiers throw.
    void invoke(int dispId, const QVariant& argument = {});

    virtual void stop() = 0;
    virtual void setSource(const QString& path) = 0;
    virtual void play() = 0;
    [[nodiscard]] virtual QWidget* widget() const = 0;

Q_SIGNALS:
    // Playback could not start; the text is for the user.
    void failed(const QString& reason);
};

}  // namespace tivora
