#include "demo-portal/ListPages.h"

#include "demo-portal/HtmlText.h"
#include "demo-portal/PageLayout.h"

#include <cstdio>

namespace tivora::demo {

namespace {

std::string rating(double value) {
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::string joined(const std::vector<std::string>& parts, std::string_view separator) {
    std::string out;
    for (const std::string& part : parts) {
        if (!out.empty()) {
            out += separator;
        }
        out += part;
    }
    return out;
}

}  // namespace

std::string ListPages::filmHref(int filmId, std::string_view from) {
    std::string href = "/vrtata.asp?id=" + std::to_string(filmId);
    if (!from.empty()) {
        href += "&from=" + std::string(from);
    }
    return href;
}

std::string ListPages::row(const Film& film, std::string_view href, std::string_view shownTitle) {
    const std::string title = escapeHtml(shownTitle);
    return fill(
        R"(<li><a class="film" href="{0}" target="_blank">)"
        R"(<img class="poster" src="/poster/{1}.svg" )"
        R"(width="45" height="60" alt="{2}" loading="lazy"><span class="info">)"
        R"(<span class="title">{2}</span><span class="meta">{3} · {4} · <b>{5}</b></span>)"
        R"(<span class="cast">{6}</span></span></a></li>)"
        "\n",
        {escapeHtml(href), std::to_string(film.id), title, std::to_string(film.year),
         escapeHtml(film.genre), rating(film.rating), escapeHtml(joined(film.actors, " / "))});
}

std::string ListPages::column(std::string_view title, Tab tab, std::string_view keyword,
                              std::string_view content) const {
    const auto on = [tab](Tab which) { return tab == which ? R"( class="on")" : ""; };
    const std::string body = fill(
        R"(<header class="mast"><a class="brand" href="/ty_00.html"><span class="logo">▶</span>)"
        R"(Tivora 片库</a><span class="count">{0} 部影片</span></header>
<nav class="tabs"><a href="/ty_00.html"{1}>全部影片</a><a href="/scj.asp"{2}>我的收藏</a></nav>
<form class="find" action="/search2010.asp" method="get"><input type="search" name="searchword" )"
        R"(value="{3}" placeholder="片名或演员" maxlength="100">)"
        R"(<button type="submit">搜索</button></form>
{4}
<div class="foot">Tivora 演示片库 · 影片与海报均为虚构</div>)",
        {std::to_string(catalogue_.films().size()), on(Tab::All), on(Tab::Favourites),
         escapeHtml(keyword), content});
    return PageLayout::document(title, PageLayout::portalStyle, "column", body);
}

std::string ListPages::filmList() const {
    std::string rows;
    const auto& films = catalogue_.films();
    for (std::size_t i = 0; i < films.size(); ++i) {
        // Some links carry a second key, as links from elsewhere on a portal do.
        rows += row(films[i], filmHref(films[i].id, i % 3 == 1 ? "list" : ""), films[i].title);
    }
    const std::string content =
        fill(R"(<div class="summary"><span>全部影片 · 按上架顺序</span></div>
<ul class="films">
{0}</ul>)",
             {rows});
    return column("Tivora 片库", Tab::All, {}, content);
}

std::string ListPages::searchResults(std::string_view keyword) const {
    const std::string shown = escapeHtml(keyword);
    if (keyword.empty()) {
        return column(
            "搜索影片", Tab::Search, keyword,
            R"(<div class="empty"><span class="big">⌕</span><strong>请输入搜索词</strong>)"
            R"(输入片名或演员名，例如“江南”或“Lily”。</div>)");
    }
    const std::vector<const Film*> found = catalogue_.search(keyword);
    if (found.empty()) {
        return column(
            "搜索影片", Tab::Search, keyword,
            fill(R"(<div class="empty"><span class="big">⌕</span><strong>没有找到相关影片</strong>)"
                 R"(没有与“{0}”相关的片名或演员，换个词试试吧。<br><a href="/ty_00.html">)"
                 R"(浏览全部影片</a></div>)",
                 {shown}));
    }
    std::string rows;
    for (const Film* film : found) {
        rows += row(*film, filmHref(film->id, "search"), film->title);
    }
    return column("搜索影片", Tab::Search, keyword,
                  fill(R"(<div class="summary"><span>“{0}” 找到 {1} 部影片</span></div>
<ul class="films">
{2}</ul>)",
                       {shown, std::to_string(found.size()), rows}));
}

std::string ListPages::favourites(const std::vector<PortalStore::Favourite>& favourites,
                                  std::string_view notice) const {
    std::string content;
    if (!notice.empty()) {
        content += fill(R"(<div class="notice">{0}</div>)", {escapeHtml(notice)});
    }
    if (favourites.empty()) {
        content += R"(<div class="empty"><span class="big">☆</span><strong>收藏夹是空的</strong>)"
                   R"(打开影片页后按 F4，即可把影片加入收藏。</div>)";
        return column("我的收藏", Tab::Favourites, {}, content);
    }
    std::string rows;
    for (const PortalStore::Favourite& favourite : favourites) {
        if (const Film* film = catalogue_.find(favourite.filmId)) {
            rows += row(*film, filmHref(film->id), favourite.name);
        }
    }
    content += fill(R"(<div class="summary"><span>已收藏 {0} 部 · 最新在前</span>)"
                    R"(<a href="/scj.asp?dl=dl">清空收藏</a></div>
<ul class="films">
{1}</ul>)",
                    {std::to_string(favourites.size()), rows});
    return column("我的收藏", Tab::Favourites, {}, content);
}

}  // namespace tivora::demo
