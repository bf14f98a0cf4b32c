#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace tivora {

// What a later start of the program asks of the running one.
struct InstanceRequest {
    QString openFile = {};  // absolute path of a file to play; empty: only come to the front
    qint64 sentAtMs = 0;    // when the start sent it (ms since the epoch); 0: not said
};

// Longer messages are refused unread.
inline constexpr qsizetype kMaxInstanceMessageSize = qsizetype{64} * 1024;

[[nodiscard]] QByteArray encodeInstanceRequest(const InstanceRequest& request);

// The request a message carries, or nothing with why in error.
[[nodiscard]] std::optional<InstanceRequest> decodeInstanceRequest(const QByteArray& message,
                                                                   QString* error);

}  // namespace tivora
