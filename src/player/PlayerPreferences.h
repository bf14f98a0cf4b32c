#pragma once

#include <QString>
#include <QVariant>

namespace tivora {

// The local player's choices that outlive a run, in the user's data folder.
class PlayerPreferences final {
public:
    // folder empty: the per-user application data folder.
    explicit PlayerPreferences(const QString& folder = {});

    [[nodiscard]] bool continuousPlay() const;
    void setContinuousPlay(bool on) const;
    // 0 to 100 percent.
    [[nodiscard]] int volume() const;
    void setVolume(int percent) const;
    [[nodiscard]] bool muted() const;
    void setMuted(bool muted) const;
    [[nodiscard]] bool hardwareDecoding() const;
    void setHardwareDecoding(bool on) const;
    // The name of the file the list was last made for, which decides the list's pattern.
    [[nodiscard]] QString listedType() const;
    void setListedType(const QString& fileName) const;

private:
    void write(const QString& key, const QVariant& value) const;

    QString file_;
};

}  // namespace tivora
