#pragma once

#include "forms/PlayerControl.h"

#include <QString>

namespace tivora::playback {

// The Chinese name of a language tag (ISO 639-1 or -2, any case, with or without a region):
// "yue" → "粤语". An unknown tag comes back as it is; an empty or undetermined one as empty.
[[nodiscard]] QString languageName(const QString& tag);

// A track as the menu names it: "音轨 2（粤语）", "字幕 1（简体中文，导演评论）", "字幕 3".
// Control characters in the tags are dropped and an over-long title is cut.
[[nodiscard]] QString trackName(const MediaTrack& track);

}  // namespace tivora::playback
