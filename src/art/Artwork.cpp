#include "art/Artwork.h"

#include "art/AboutPicture.h"
#include "art/Icons.h"
#include "art/MainWindowPictures.h"
#include "art/ServerConnectPicture.h"
#include "art/kit/Gloss.h"
#include "art/kit/Glyphs.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPixmapCache>

#include <algorithm>
#include <array>

namespace tivora::art {
namespace {

using namespace Qt::StringLiterals;

using Painter = void (*)(QPainter&, const QRectF&);

struct Entry {
    QStringView key;
    QSize size;
    Painter paint;
};

const std::array kEntries = std::to_array<Entry>({
    {u"Image1", {800, 600}, paintBackdrop},
    {u"Image2", {257, 485}, paintColumn},
    {u"Image3", {66, 24}, paintMenuButton},
    {u"Image19", {66, 24}, paintMenuButton},
    {u"Image4",
     {40, 26},
     [](QPainter& p, const QRectF& r) { paintTab(p, r, Glyph::Diamond, false); }},
    {u"Image5",
     {40, 26},
     [](QPainter& p, const QRectF& r) { paintTab(p, r, Glyph::Diamond, true); }},
    {u"Image6", {40, 26}, [](QPainter& p, const QRectF& r) { paintTab(p, r, Glyph::Star, false); }},
    {u"Image7", {40, 26}, [](QPainter& p, const QRectF& r) { paintTab(p, r, Glyph::Star, true); }},
    {u"Image8",
     {40, 26},
     [](QPainter& p, const QRectF& r) { paintTab(p, r, Glyph::Magnifier, false); }},
    {u"Image9",
     {40, 26},
     [](QPainter& p, const QRectF& r) { paintTab(p, r, Glyph::Magnifier, true); }},
    {u"Image10", {256, 26}, tabStrip},
    {u"Image11", {48, 24}, paintSearchButton},
    {u"Image12", {240, 70}, paintWelcomePicture},
    {u"Image13", {477, 23}, paintBar},
    {u"Image14",
     {52, 23},
     [](QPainter& p, const QRectF& r) { paintBarButton(p, r, u"加入收藏"_s); }},
    {u"Image15",
     {52, 23},
     [](QPainter& p, const QRectF& r) { paintBarButton(p, r, u"在线直播"_s); }},
    {u"Image16",
     {52, 23},
     [](QPainter& p, const QRectF& r) { paintBarButton(p, r, u"停止播放"_s); }},
    {u"Image17",
     {52, 23},
     [](QPainter& p, const QRectF& r) { paintBarButton(p, r, u"返回大厅"_s); }},
    {u"Image18", {100, 24}, paintCaption},
    {u"Image20",
     {157, 60},
     [](QPainter& p, const QRectF& r) { paintWelcomeButton(p, r, Glyph::Folder, u"本地播放"_s); }},
    {u"Image27",
     {157, 60},
     [](QPainter& p, const QRectF& r) { paintWelcomeButton(p, r, Glyph::Play, u"在线点播"_s); }},
    {u"Image28",
     {157, 60},
     [](QPainter& p, const QRectF& r) { paintWelcomeButton(p, r, Glyph::Tv, u"电视直播"_s); }},
    {u"Image21",
     {30, 30},
     [](QPainter& p, const QRectF& r) { paintRoundButton(p, r, Glyph::Play); }},
    {u"Image22",
     {30, 30},
     [](QPainter& p, const QRectF& r) { paintRoundButton(p, r, Glyph::Star); }},
    {u"Image23",
     {30, 30},
     [](QPainter& p, const QRectF& r) { paintRoundButton(p, r, Glyph::Arrow); }},
    {u"Image24",
     {30, 30},
     [](QPainter& p, const QRectF& r) { paintRoundButton(p, r, Glyph::Square); }},
    {u"Image25",
     {30, 30},
     [](QPainter& p, const QRectF& r) { paintRoundButton(p, r, Glyph::Diamond); }},
    {u"Image26", {30, 30}, [](QPainter& p, const QRectF& r) { paintRoundButton(p, r, Glyph::Tv); }},
    {u"Picture3", {577, 25}, paintBar},
    {u"About", {400, 160}, paintAbout},
    {u"AppIcon", {64, 64}, paintAppIcon},
    {u"PlayerIcon", {64, 64}, paintPlayerIcon},
    {u"ServerConnect", {522, 299}, paintServerConnect},
});

const Entry* findEntry(QStringView key) {
    const auto* it = std::find_if(kEntries.begin(), kEntries.end(),
                                  [key](const Entry& e) { return e.key == key; });
    return it == kEntries.end() ? nullptr : it;
}

// The art is painted for the sharpest screen there is, so no picture is an upscaled one.
qreal deviceRatio() {
    return qGuiApp != nullptr ? qGuiApp->devicePixelRatio() : 1.0;
}

QPixmap render(const Entry& entry, qreal ratio) {
    QImage image((QSizeF(entry.size) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                         QPainter::SmoothPixmapTransform);
        entry.paint(p, QRectF(QPointF(0, 0), QSizeF(entry.size)));
    }
    return QPixmap::fromImage(image);
}

}  // namespace

QPixmap picture(QStringView key) {
    const Entry* entry = findEntry(key);
    if (entry == nullptr) {
        return {};
    }
    const qreal ratio = deviceRatio();
    QString cacheKey = u"tivora.art/"_s;
    cacheKey += key;
    cacheKey += u'@' + QString::number(ratio);
    QPixmap pixmap;
    if (!QPixmapCache::find(cacheKey, &pixmap)) {
        pixmap = render(*entry, ratio);
        QPixmapCache::insert(cacheKey, pixmap);
    }
    return pixmap;
}

QSize pictureSize(QStringView key) {
    const Entry* entry = findEntry(key);
    return entry == nullptr ? QSize() : entry->size;
}

QStringList keys() {
    QStringList list;
    list.reserve(static_cast<qsizetype>(kEntries.size()));
    for (const Entry& entry : kEntries) {
        list << entry.key.toString();
    }
    return list;
}

}  // namespace tivora::art
