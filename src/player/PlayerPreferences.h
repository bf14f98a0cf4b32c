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
    // False when the choice could not be saved; the file keeps what it had.
    [[nodiscard]] bool setContinuousPlay(bool on) const;

    // 0 to 100 percent.
    [[nodiscard]] int volume() const;
    [[nodiscard]] bool setVolume(int percent) const;
    [[nodiscard]] bool muted() const;
    [[nodiscard]] bool setMuted(bool muted) const;
    [[nodiscard]] bool hardwareDecoding() const;
    [[nodiscard]] bool setHardwareDecoding(bool on) const;
    // The name of the file the list was last made for, which decides the list's pattern.
    [[nodiscard]] QString listedType() const;
    [[nodiscard]] bool setListedType(const QString& fileName) const;

    [[nodiscard]] const QString& file() const { return file_; }

private:
    [[nodiscard]] QVariant value(const QString& key, const QVariant& fallback) const;
    // Replaces the file whole with its values and this one, or leaves it as it was.
    [[nodiscard]] bool setValue(const QString& key, const QVariant& value) const;

    QString file_;
};

}  // namespace tivora
