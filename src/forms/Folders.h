#pragma once

#include <QString>

namespace tivora {

// preferred when fileName can be written there (an existing file that opens for writing, or a
// folder that takes a new file), otherwise fallback, created when missing.
[[nodiscard]] QString chooseWritableFolder(const QString& preferred, const QString& fallback,
                                           const QString& fileName);

// The user's videos folder, or the home folder when there is none. Ends with a separator.
[[nodiscard]] QString userVideosFolder();

}  // namespace tivora
