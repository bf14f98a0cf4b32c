#include "demo-portal/FilmPages.h"

#include "demo-portal/HtmlText.h"
#include "demo-portal/ListPages.h"
#include "demo-portal/PageLayout.h"

#include <QDateTime>
#include <QString>

#include <cstdio>

namespace tivora::demo {

namespace {

std::string oneDecimal(double value) {
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::string actorList(const Film& film) {
    std::string out;
    for (const std::string& actor : film.actors) {
        out += (out.empty() ? "" : " / ") + escapeHtml(actor);
    }
    return out;
}

std::string playedAt(std::int64_t seconds) {
    return QDateTime::fromSecsSinceEpoch(seconds)
        .toString(QStringLiteral("MM-dd HH:mm"))
        .toStdString();
}

}  // namespace

std::string FilmPages::playHref(int filmId) {
    return "/play/?" + std::to_string(filmId) + "-0-0.html";
}

std::string FilmPages::topBar() {
    return R"(<header class="topbar"><a class="brand" href="/ty_00.html">)"
           R"(<span class="logo">▶</span>)"
           R"(Tivora 影院</a><nav><a href="/vrzjbf.asp">最近播放</a><a href="/tv">电视直播</a>)"
           R"(</nav></header>)";
}

std::string FilmPages::filmPage(const Film& film) const {
    std::string related;
    for (const Film* other : catalogue_.related(film, 5)) {
        // A related film opens in place: a new window from the film page would be the play pane.
        related += fill(R"(<li><a href="{0}"><img src="/poster/{1}.svg" alt="" )"
                        R"(width="72" height="96" loading="lazy"><span>{2}</span></a></li>)",
                        {escapeHtml(ListPages::filmHref(other->id, "related")),
                         std::to_string(other->id), escapeHtml(other->title)});
    }
    const int stars = static_cast<int>(film.rating * 10.0 + 0.5);
    const std::string body = fill(
        R"({0}
<main class="detail">
<div class="cover"><img src="/poster/{1}.svg" width="150" height="200" alt="{2}"></div>
<div class="facts">
<h1>{2}<small>（{3}）</small></h1>
<div class="score"><span class="stars"><i style="width:{4}%"></i></span><b>{5}</b> 分</div>
<table class="props">
<tr><th>类型</th><td>{6}</td></tr>
<tr><th>地区</th><td>{7}</td></tr>
<tr><th>导演</th><td>{8}</td></tr>
<tr><th>主演</th><td>{9}</td></tr>
<tr><th>片长</th><td>{10} 分钟</td></tr>
</table>
<div class="actions"><a class="play" href="{11}" target="_blank">▶ 开始播放</a>)"
        R"(<span class="hint">按 <kbd>F4</kbd> 收藏本片</span></div>
</div>
</main>
<section class="section"><h2>剧情简介</h2><p>{12}</p></section>
<section class="section"><h2>相关影片</h2><ul class="related">{13}</ul></section>)",
        {topBar(), std::to_string(film.id), escapeHtml(film.title), std::to_string(film.year),
         std::to_string(stars), oneDecimal(film.rating), escapeHtml(film.genre),
         escapeHtml(film.region), escapeHtml(film.director), actorList(film),
         std::to_string(film.minutes), playHref(film.id), escapeHtml(film.description), related});
    return PageLayout::document(film.title, PageLayout::portalStyle, "pane", body);
}

std::string FilmPages::recentlyPlayed(const std::vector<PortalStore::Play>& plays) const {
    std::string rows;
    std::size_t count = 0;
    for (const PortalStore::Play& play : plays) {
        const Film* film = catalogue_.find(play.filmId);
        if (!film) {
            continue;
        }
        ++count;
        // The film page opens in this pane; playing opens its own window.
        rows += fill(
            R"(<li><img src="/poster/{0}.svg" width="42" height="56" alt=""><div class="what">)"
            R"(<a href="{1}">{2}</a><span>{3} · {4} · {5}</span><span>{6} 播放</span></div>)"
            R"(<a class="again" href="{7}" target="_blank">▶ 继续播放</a></li>)"
            "\n",
            {std::to_string(film->id), escapeHtml(ListPages::filmHref(film->id)),
             escapeHtml(film->title), std::to_string(film->year), escapeHtml(film->genre),
             escapeHtml(film->region), playedAt(play.playedAt), playHref(film->id)});
    }
    std::string content;
    if (count == 0) {
        content = R"(<div class="empty"><span class="big">▶</span><strong>还没有播放记录</strong>)"
                  R"(在影片页点击“开始播放”后，影片会出现在这里。</div>)";
    } else {
        content = fill(R"(<ul class="plays">
{0}</ul>)",
                       {rows});
    }
    const std::string body = fill(R"({0}
<div class="pagehead"><h1>最近播放</h1><small>{1} 部影片 · 最近的在前</small></div>
{2}
<div class="foot">播放记录只保存在本机的演示片库中</div>)",
                                  {topBar(), std::to_string(count), content});
    return PageLayout::document("最近播放", PageLayout::portalStyle, "pane", body);
}

}  // namespace tivora::demo
