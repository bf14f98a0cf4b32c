#pragma once

#include <QString>

namespace tivora {

// The local player's choices that outlive a run, in the user's data folder.
class PlayerPreferences final {
public:
    // folder empty: the per-user application data folder.
    explicit PlayerPreferences(const QString& folder = {});

    [[nodiscard]] bool continuousPlay() const;
    void setContinuousPlay(bool on) const;

private:
    QString file_;
};

}  // namespace tivora
