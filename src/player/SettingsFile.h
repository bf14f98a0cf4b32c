#pragma once

#include "player/SettingsLine.h"

#include <QString>

#include <optional>

namespace tivora {

// data.txt in the folder the program writes its files to, read from beside the program when that
// folder has none yet.
class SettingsFile final {
public:
    static inline const QString kFileName = QStringLiteral("data.txt");

    // writeFolder: where the file is written, as the services' writable-folder probe chose it.
    SettingsFile(QString programFolder, QString writeFolder);

    // The file read and written now.
    [[nodiscard]] QString path() const;
    // Nothing when the file is missing, unreadable, malformed or no regular file.
    [[nodiscard]] std::optional<settings::SettingsLine> read() const;
    // Replaces the file whole, or leaves it as it was; false when the folder would not take it,
    // the write failed (why in error) or the line cannot be written (settings::canHold).
    [[nodiscard]] bool write(const settings::SettingsLine& line, QString* error = nullptr) const;

private:
    QString programFolder_;
    QString writeFolder_;
};

}  // namespace tivora
