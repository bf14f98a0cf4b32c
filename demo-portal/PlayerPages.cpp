#include "demo-portal/PlayerPages.h"

#include "demo-portal/HtmlText.h"
#include "demo-portal/PageLayout.h"

namespace tivora::demo {
namespace {

// The page's part of playing: through the client's player when the page has it, in the page's own
// <video> otherwise. RealMedia and HLS need the client; without it the page says so.
constexpr std::string_view kPlayScript = R"(<script>
(function () {
    var video = document.getElementById('player');
    var film = JSON.parse(video.dataset.film);
    var status = document.getElementById('status');
    function say(text) { status.textContent = text; status.hidden = !text; }
    function absolute(address) { return new URL(address, location.href).href; }
    if (window.tivora) {
        tivora.addEventListener('error', function (event) { say(event.detail.message); });
        tivora.addEventListener('ended', function () { say('播放完毕'); });
        tivora.play(absolute(film.src), {
            title: film.title, filmId: film.id, element: video,
            subtitles: film.subtitles.map(absolute)
        });
        return;
    }
    if (film.kind === 'real') {
        var embed = document.createElement('embed');
        embed.type = 'audio/x-pn-realaudio-plugin';
        embed.src = film.src;
        embed.setAttribute('autostart', 'true');
        video.replaceWith(embed);
        say('此影片为 RealMedia 格式，请使用 Tivora 客户端观看。');
        return;
    }
    if (film.kind === 'hls' && !video.canPlayType('application/vnd.apple.mpegurl')) {
        say('此浏览器不能播放 HLS 影片，请使用 Tivora 客户端观看。');
    }
    film.subtitles.forEach(function (address) {
        var track = document.createElement('track');
        track.kind = 'subtitles'; track.srclang = 'zh'; track.label = '中文'; track.src = address;
        track.default = true;
        video.appendChild(track);
    });
    video.src = film.src;
    video.play().catch(function () {});
})();
</script>)";

std::string jsonText(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '<':
                out += "\\u003c";
                break;
            case '\n':
                out += "\\n";
                break;
            default:
                out += c;
        }
    }
    return out + "\"";
}

}  // namespace

const std::vector<PlayerPages::Channel>& PlayerPages::channels() {
    static const std::vector<Channel> list = {
        {"Tivora 电影台", "正在播出：午夜影院", featureVideo, "none"},
        {"星空纪录台", "正在播出：细胞的奇妙世界", "/media/channel.webm", "none"},
        {"欢乐少儿台", "正在播出：彩色动画时间", "/media/channel.webm",
         "hue-rotate(150deg) saturate(1.4)"},
        {"测试频道", "信号测试中，请勿调台", "/media/testcard.webm", "none"},
    };
    return list;
}

const PlayerPages::FilmMedia& PlayerPages::mediaOf(const Film& film) {
    // The catalogue's films take turns, so that every kind of film is a click away.
    static const FilmMedia media[] = {
        {featureVideo, FilmMedia::Kind::Video, {}},
        {hdVideo, FilmMedia::Kind::Video, {hdSubtitles}},
        {hlsVideo, FilmMedia::Kind::Hls, {}},
        {realVideo, FilmMedia::Kind::RealMedia, {}},
    };
    return media[static_cast<unsigned>(film.id) % std::size(media)];
}

const std::vector<std::pair<std::string_view, std::string_view>>& PlayerPages::mediaTypes() {
    static const std::vector<std::pair<std::string_view, std::string_view>> types = {
        {".webm", "video/webm"},
        {".mp4", "video/mp4"},
        {".m3u8", "application/vnd.apple.mpegurl"},
        {".ts", "video/mp2t"},
        {".rm", "application/vnd.rn-realmedia"},
        {".srt", "application/x-subrip; charset=utf-8"},
    };
    return types;
}

std::string PlayerPages::playPage(const Film& film) {
    const FilmMedia& media = mediaOf(film);
    std::string subtitles = "[";
    for (const std::string_view s : media.subtitles) {
        subtitles += (subtitles.size() > 1 ? "," : "") + jsonText(s);
    }
    subtitles += "]";
    const char* kind = media.kind == FilmMedia::Kind::Hls         ? "hls"
                       : media.kind == FilmMedia::Kind::RealMedia ? "real"
                                                                  : "video";
    const std::string description = fill(
        R"({"src":{0},"kind":"{1}","id":"{2}","title":{3},"poster":"/poster/{2}.svg","subtitles":{4}})",
        {jsonText(media.video), kind, std::to_string(film.id), jsonText(film.title), subtitles});
    const std::string body =
        fill(R"(<video id="player" data-film="{0}" data-src="{5}" muted loop )"
             R"(controls playsinline preload="none"></video>
<div id="status" class="status" hidden></div>
<div class="caption"><span class="now">正在播放</span><h1>{1}</h1>)"
             R"(<div class="meta">{2} · {3} · {4}</div></div>)",
             {escapeHtml(description), escapeHtml(film.title), std::to_string(film.year),
              escapeHtml(film.genre), escapeHtml(film.director), media.video});
    return PageLayout::document(film.title, PageLayout::playerStyle, "player",
                                body + std::string(kPlayScript));
}

std::string PlayerPages::tvPage(std::size_t channel) {
    const auto& list = channels();
    if (channel >= list.size()) {
        channel = 0;
    }
    std::string items;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const Channel& c = list[i];
        items += fill(
            R"(<li><a href="/tv?ch={0}"{1} data-video="{2}" data-filter="{3}" data-name="{4}" )"
            R"(data-programme="{5}"><span class="num">{6}</span><span><span class="nm">{4}</span>)"
            R"(<span class="pg">{5}</span></span></a></li>)"
            "\n",
            {std::to_string(i + 1), i == channel ? R"( class="on")" : "", c.video, c.filter,
             escapeHtml(c.name), escapeHtml(c.programme),
             (i < 9 ? "0" : "") + std::to_string(i + 1)});
    }
    const Channel& current = list[channel];
    // Switching stays in the page: the links only matter without scripts.
    const std::string body =
        fill(R"(<header class="tvbar"><a class="brand" href="/ty_00.html">▶ Tivora 电视直播</a>)"
             R"(<span class="live"><i></i>直播中</span></header>
<div class="tvmain">
<div class="screen"><video id="screen" data-src="{0}" style="filter:{1}" muted loop controls )"
             R"(playsinline></video><div class="bug"><b id="channel-name">{2}</b>)"
             R"(<span id="channel-programme">{3}</span></div></div>
<aside class="channels"><h2>频道列表 · 共 {4} 个</h2><ul id="channel-list">
{5}</ul></aside>
</div>
<script>
var screen = document.getElementById('screen');
// The client's own player when the page has it, the page's video otherwise.
function tune(video, name) {
    if (window.tivora) {
        tivora.play(new URL(video, location.href).href, {title: name, element: screen});
        return;
    }
    screen.src = video;
    screen.play().catch(function () {});
}
tune(screen.dataset.src, document.getElementById('channel-name').textContent);
document.getElementById('channel-list').addEventListener('click', function (event) {
    var link = event.target.closest('a');
    if (!link) return;
    event.preventDefault();
    tune(link.dataset.video, link.dataset.name);
    screen.style.filter = link.dataset.filter;
    document.getElementById('channel-name').textContent = link.dataset.name;
    document.getElementById('channel-programme').textContent = link.dataset.programme;
    document.querySelectorAll('#channel-list a').forEach(function (other) {
        other.classList.toggle('on', other === link);
    });
    history.replaceState(null, '', link.getAttribute('href'));
});
</script>)",
             {current.video, current.filter, escapeHtml(current.name),
              escapeHtml(current.programme), std::to_string(list.size()), items});
    return PageLayout::document("电视直播", PageLayout::playerStyle, "tv", body);
}

}  // namespace tivora::demo
