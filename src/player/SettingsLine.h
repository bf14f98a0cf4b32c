#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace tivora::settings {

// The one line of data.txt: the name prefix and the list folder, joined by "?".
struct SettingsLine {
    QString prefix;
    QString folder;
    friend bool operator==(const SettingsLine&, const SettingsLine&) = default;
};

// False when the line cannot be written so that it reads back: a line break in the prefix or the
// folder (legal in file names) would end the line there.
[[nodiscard]] bool canHold(const SettingsLine& line);

// The bytes of the file: ANSI (GBK) when every character survives it, so files of the old format
// stay byte-identical; otherwise UTF-8 behind a byte-order mark. Always ends with CR LF.
[[nodiscard]] QByteArray encode(const SettingsLine& line);

// The first line, in the encoding its byte-order mark names or else ANSI. Nothing when there is
// no separator or no folder after it.
[[nodiscard]] std::optional<SettingsLine> decode(const QByteArray& bytes);

}  // namespace tivora::settings
