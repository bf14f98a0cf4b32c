#include "playback/TrackNames.h"

#include <QHash>

using namespace Qt::StringLiterals;

namespace tivora::playback {
namespace {

constexpr qsizetype kLongestTitle = 40;

const QHash<QString, QString>& languages() {
    static const QHash<QString, QString> kNames{
        {u"chi"_s, u"中文"_s},       {u"zho"_s, u"中文"_s},       {u"zh"_s, u"中文"_s},
        {u"chs"_s, u"简体中文"_s},   {u"zh-cn"_s, u"简体中文"_s}, {u"zh-hans"_s, u"简体中文"_s},
        {u"zh-sg"_s, u"简体中文"_s}, {u"sc"_s, u"简体中文"_s},    {u"cht"_s, u"繁体中文"_s},
        {u"zh-tw"_s, u"繁体中文"_s}, {u"zh-hk"_s, u"繁体中文"_s}, {u"zh-hant"_s, u"繁体中文"_s},
        {u"tc"_s, u"繁体中文"_s},    {u"yue"_s, u"粤语"_s},       {u"cmn"_s, u"普通话"_s},
        {u"eng"_s, u"英语"_s},       {u"en"_s, u"英语"_s},        {u"jpn"_s, u"日语"_s},
        {u"ja"_s, u"日语"_s},        {u"kor"_s, u"韩语"_s},       {u"ko"_s, u"韩语"_s},
        {u"fre"_s, u"法语"_s},       {u"fra"_s, u"法语"_s},       {u"fr"_s, u"法语"_s},
        {u"ger"_s, u"德语"_s},       {u"deu"_s, u"德语"_s},       {u"de"_s, u"德语"_s},
        {u"spa"_s, u"西班牙语"_s},   {u"es"_s, u"西班牙语"_s},    {u"ita"_s, u"意大利语"_s},
        {u"it"_s, u"意大利语"_s},    {u"rus"_s, u"俄语"_s},       {u"ru"_s, u"俄语"_s},
        {u"por"_s, u"葡萄牙语"_s},   {u"pt"_s, u"葡萄牙语"_s},    {u"tha"_s, u"泰语"_s},
        {u"th"_s, u"泰语"_s},        {u"vie"_s, u"越南语"_s},     {u"vi"_s, u"越南语"_s},
        {u"ind"_s, u"印尼语"_s},     {u"id"_s, u"印尼语"_s},      {u"msa"_s, u"马来语"_s},
        {u"may"_s, u"马来语"_s},     {u"ms"_s, u"马来语"_s},      {u"ara"_s, u"阿拉伯语"_s},
        {u"ar"_s, u"阿拉伯语"_s},    {u"hin"_s, u"印地语"_s},     {u"hi"_s, u"印地语"_s},
    };
    return kNames;
}

QString cleaned(const QString& tag) {
    QString text;
    for (const QChar c : tag) {
        if (!c.isNonCharacter() && c.category() != QChar::Other_Control) {
            text += c;
        }
    }
    text = text.simplified();
    if (text.size() > kLongestTitle) {
        text = text.left(kLongestTitle) + u'…';
    }
    return text;
}

}  // namespace

QString languageName(const QString& tag) {
    const QString key = cleaned(tag).toLower().replace(u'_', u'-');
    if (key.isEmpty() || key == u"und"_s || key == u"mul"_s || key == u"zxx"_s) {
        return {};
    }
    if (const auto found = languages().constFind(key); found != languages().cend()) {
        return *found;
    }
    // "en-US", "ja-JP": the language without its region.
    if (const auto found = languages().constFind(key.section(u'-', 0, 0));
        found != languages().cend()) {
        return *found;
    }
    return cleaned(tag);
}

QString trackName(const MediaTrack& track) {
    QString kind;
    switch (track.kind) {
        case MediaTrack::Kind::Audio:
            kind = u"音轨"_s;
            break;
        case MediaTrack::Kind::Subtitle:
            kind = u"字幕"_s;
            break;
        case MediaTrack::Kind::Video:
            kind = u"视频"_s;
            break;
    }
    QStringList details;
    if (const QString language = languageName(track.language); !language.isEmpty()) {
        details << language;
    }
    if (const QString title = cleaned(track.title); !title.isEmpty() && !details.contains(title)) {
        details << title;
    }
    QString name = u"%1 %2"_s.arg(kind).arg(track.id);
    if (!details.isEmpty()) {
        name += u"（"_s + details.join(u"，"_s) + u"）"_s;
    }
    return name;
}

}  // namespace tivora::playback
