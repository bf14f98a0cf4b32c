#pragma once

#include "SettingsLine.h"

#include <QString>

#include <optional>

namespace tivora {

// data.txt beside the program, or in the user's data folder when the program's folder cannot be
// written there.
class SettingsFile final {
public:
    // fallbackFolder empty: the per-user application data folder.
    explicit SettingsFile(QString programFolder, QString fallbackFolder = {});

    // The file read and written now.
    [[nodiscard]] QString path() const;
    // Nothing when the file is missing, unreadable or malformed.
    [[nodiscard]] std::optional<settings::SettingsLine> read() const;
    // Replaces the file whole; false when no place would take it.
    bool write(const settings::SettingsLine& line) const;

private:
    [[nodiscard]] QString besideProgram() const;
    [[nodiscard]] QString inFallback() const;

    QString programFolder_;
    QString fallbackFolder_;
};

}  // namespace tivora
