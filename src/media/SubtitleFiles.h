#pragma once

#include <QString>
#include <QStringList>

namespace tivora::subtitles {

// mpv looks for the subtitle files named after a film itself, and opening a FIFO or a device
// among them would hold the film (and the quit) until a writer came.
struct Search {
    bool automatic = true;  // mpv's own search is safe
    QStringList files;      // otherwise: the regular files it would have found, to add by hand
    QStringList refused;    // and the names left out
};

// What to tell mpv for the film at path (readable, see localpath).
[[nodiscard]] Search forFilm(const QString& path);

}  // namespace tivora::subtitles
