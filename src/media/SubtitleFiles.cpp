#include "media/SubtitleFiles.h"

#include "forms/LocalPath.h"

#include <QFileInfo>
#include <QSet>

using namespace Qt::StringLiterals;

namespace tivora::subtitles {
namespace {

// The extensions mpv's own search takes.
const QSet<QString> kExtensions{u"srt"_s, u"ass"_s,  u"ssa"_s,   u"sub"_s, u"idx"_s,
                                u"smi"_s, u"rt"_s,   u"sup"_s,   u"vtt"_s, u"txt"_s,
                                u"utf"_s, u"utf8"_s, u"utf-8"_s, u"lrc"_s, u"aqt"_s,
                                u"jss"_s, u"pjs"_s,  u"psb"_s,   u"mks"_s};

}  // namespace

Search forFilm(const QString& path) {
    const QFileInfo film(path);
    const QString base = film.completeBaseName().toCaseFolded();
    Search search;
    bool unsafe = false;
    for (const localpath::Entry& entry : localpath::entries(film.path())) {
        const QFileInfo candidate(entry.name);
        // As mpv's fuzzy search: any name holding the film's own, with a subtitle extension.
        if (entry.name == film.fileName() || !kExtensions.contains(candidate.suffix().toLower()) ||
            !entry.name.toCaseFolded().contains(base)) {
            continue;
        }
        if (entry.kind == localpath::Kind::File) {
            search.files << film.path() + u'/' + entry.name;
        } else {
            unsafe = true;
            search.refused << entry.name;
        }
    }
    search.automatic = !unsafe;
    if (search.automatic) {
        search.files.clear();
    }
    return search;
}

}  // namespace tivora::subtitles
