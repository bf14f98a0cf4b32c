#pragma once

#include <QString>

namespace tivora {

// Blocking download of one address into one file with libcurl. The data goes to a temporary file
// that replaces the target only once the transfer is whole; on failure the target is untouched.
class CurlDownloader final {
public:
    [[nodiscard]] bool download(const QString& source, const QString& target);
    // Why the last download failed, for diagnostics.
    [[nodiscard]] QString lastError() const { return lastError_; }

private:
    QString lastError_;
};

}  // namespace tivora
