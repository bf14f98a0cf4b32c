#pragma once

#include <QString>

#include <functional>

namespace tivora {

// Blocking download of one address into one file with libcurl. The data goes to a temporary file
// that replaces the target only once the transfer is whole and on disk; on failure (a full disk
// too) the target is untouched and the temporary file gone. A quit request (quit::requested())
// ends the transfer within a tenth of a second, as a failure.
class CurlDownloader final {
public:
    // Bytes received so far and the whole size (0 while unknown).
    using Progress = std::function<void(qint64 received, qint64 total)>;

    [[nodiscard]] bool download(const QString& source, const QString& target,
                                const Progress& progress = {});
    // Why the last download failed, for diagnostics.
    [[nodiscard]] QString lastError() const { return lastError_; }

private:
    QString lastError_;
};

}  // namespace tivora
