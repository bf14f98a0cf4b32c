#include "demo-portal/PlayerPages.h"

#include "demo-portal/HtmlText.h"
#include "demo-portal/PageLayout.h"

namespace tivora::demo {

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

std::string PlayerPages::playPage(const Film& film) {
    const std::string body = fill(
        R"(<video id="player" src="{0}" poster="/poster/{1}.svg" autoplay muted loop controls )"
        R"(playsinline></video>
<div class="caption"><span class="now">正在播放</span><h1>{2}</h1>)"
        R"(<div class="meta">{3} · {4} · {5}</div></div>)",
        {featureVideo, std::to_string(film.id), escapeHtml(film.title), std::to_string(film.year),
         escapeHtml(film.genre), escapeHtml(film.director)});
    return PageLayout::document(film.title, PageLayout::playerStyle, "player", body);
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
<div class="screen"><video id="screen" src="{0}" style="filter:{1}" autoplay muted loop controls )"
             R"(playsinline></video><div class="bug"><b id="channel-name">{2}</b>)"
             R"(<span id="channel-programme">{3}</span></div></div>
<aside class="channels"><h2>频道列表 · 共 {4} 个</h2><ul id="channel-list">
{5}</ul></aside>
</div>
<script>
document.getElementById('channel-list').addEventListener('click', function (event) {
    var link = event.target.closest('a');
    if (!link) return;
    event.preventDefault();
    var screen = document.getElementById('screen');
    screen.src = link.dataset.video;
    screen.style.filter = link.dataset.filter;
    screen.play();
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
