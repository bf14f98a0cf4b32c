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

    [[nodiscard]] const QString& file() const { return file_; }

private:
    [[nodiscard]] QVariant value(const QString& key, const QVariant& fallback) const;
    // Replaces the file whole with its values and this one, or leaves it as it was.
    [[nodiscard]] bool setValue(const QString& key, const QVariant& value) const;

    QString file_;
};

}  // namespace tivora
