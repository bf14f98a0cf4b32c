#pragma once

#include <QJsonObject>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace tivora::jsonstore {

// The object a small JSON store of the player's holds. Nothing when the file is missing or cannot
// be read (said on the player's category); a file that is too large or no JSON object is not
// ours: it is set aside as FILE.bad, said so, and counts as empty. what names the store in
// messages ("the recent files").
[[nodiscard]] std::optional<QJsonObject> read(const QString& file, qint64 largest,
                                              const QString& what);

}  // namespace tivora::jsonstore
