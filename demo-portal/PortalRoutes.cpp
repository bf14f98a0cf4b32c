#include "demo-portal/PortalRoutes.h"

#include "demo-portal/Assets.h"
#include "demo-portal/HtmlText.h"
#include "demo-portal/InfoPages.h"
#include "demo-portal/PlayerPages.h"
#include "demo-portal/PortalStore.h"
#include "demo-portal/PosterArt.h"
#include "demo-portal/RequestTarget.h"
#include "demo-portal/VisitorCookie.h"

#include <algorithm>
#include <ctime>

namespace tivora::demo {

namespace {

constexpr std::string_view htmlType = "text/html; charset=utf-8";

std::int64_t now() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

// A query value as typed, or nullopt when it is too long to take.
std::optional<std::string> textParam(const HttpRequest& request, const char* key) {
    const std::string value(trimmed(queryText(request.param(key))));
    if (utf8Length(value) > PortalRoutes::maxTextLength) {
        return std::nullopt;
    }
    return value;
}

// The routing pattern for one fixed address: routes are regular expressions.
std::string exactly(std::string_view address) {
    std::string pattern;
    for (const char c : address) {
        pattern += c == '.' ? std::string("\\.") : std::string(1, c);
    }
    return pattern;
}

}  // namespace

PortalRoutes::PortalRoutes(const Catalogue& catalogue, PortalStore& store,
                           std::string latestVersion, std::string installer,
                           std::string installerName, int installerBytesPerSecond)
    : catalogue_(catalogue),
      store_(store),
      listPages_(catalogue),
      filmPages_(catalogue),
      latestVersion_(std::move(latestVersion)),
      installer_(std::move(installer)),
      installerName_(std::move(installerName)),
      installerBytesPerSecond_(installerBytesPerSecond) {
    // Served address (without the leading "/") and the compiled-in file behind it.
    for (const auto& [address, file] : std::initializer_list<std::pair<const char*, const char*>>{
             {"static/portal.css", "portal.css"},
             {"static/player.css", "player.css"},
             {"static/site.css", "site.css"},
             {"media/feature.webm", "feature.webm"},
             {"media/channel.webm", "channel.webm"},
             {"media/testcard.webm", "testcard.webm"},
             {"media/hd.mp4", "hd.mp4"},
             {"media/hd.zh.srt", "hd.zh.srt"},
             {"media/stream.m3u8", "stream.m3u8"},
             {"media/stream0.ts", "stream0.ts"},
             {"media/stream1.ts", "stream1.ts"},
             {"media/stream2.ts", "stream2.ts"},
             {"media/stream3.ts", "stream3.ts"},
             {"media/classic.rm", "classic.rm"},
             {"site/", "site-home.html"},
             {"site/vrdl3.html", "site-help.html"},
         }) {
        assets_.emplace(address, Assets::bytes(file));
    }
    installRoutes();
}

void PortalRoutes::add(std::string_view pattern, Handler handler) {
    routes_.push_back({std::regex(pattern.begin(), pattern.end()), std::move(handler)});
}

void PortalRoutes::installRoutes() {
    const auto page = [this](void (PortalRoutes::*handler)(const Request&, Response&) const) {
        return [this, handler](const Request& request, Response& response) {
            (this->*handler)(request, response);
        };
    };
    add("/", [](const Request&, Response& response) { response.setRedirect("/ty_00.html"); });
    add(exactly("/ty_00.html"), page(&PortalRoutes::filmList));
    add(exactly("/vrtata.asp"), page(&PortalRoutes::filmPage));
    add("/play/", page(&PortalRoutes::playPage));
    add(exactly("/search2010.asp"), page(&PortalRoutes::search));
    add(exactly("/scj.asp"), page(&PortalRoutes::favourites));
    add(exactly("/vrzjbf.asp"), page(&PortalRoutes::recentlyPlayed));
    add("/tv", page(&PortalRoutes::tv));
    add(R"(/poster/(\d{1,9})\.svg)", page(&PortalRoutes::poster));
    add(exactly("/vrpcs.asp"), [this](const Request& request, Response& response) {
        static_cast<void>(visitor(request, response));
        html(response, InfoPages::checkPage(latestVersion_));
    });
    add(exactly("/vrtj.html"), [](const Request& request, Response& response) {
        static_cast<void>(visitor(request, response));
        html(response, InfoPages::companionPage());
    });
    add(exactly("/new.swf"), [this](const Request&, Response& response) {
        response.setHeader("Content-Disposition",
                           "attachment; filename=\"" + installerName_ + "\"");
        response.setContent(installer_, "application/octet-stream");
        response.bytesPerSecond = std::max(0, installerBytesPerSecond_);
    });
    add("/site", [](const Request&, Response& response) { response.setRedirect("/site/"); });
    for (const std::string key : {"site/", "site/vrdl3.html"}) {
        add(exactly("/" + key), [this, key](const Request& request, Response& response) {
            static_cast<void>(visitor(request, response));
            html(response, assets_.at(key));
        });
    }
    add(R"(/static/([a-z]+)\.css)", [this](const Request& request, Response& response) {
        asset(request, response, "static", ".css", "text/css; charset=utf-8");
    });
    // clang 14 cannot capture structured bindings.
    for (const auto& media : PlayerPages::mediaTypes()) {
        const auto extension = media.first;
        const auto type = media.second;
        add(R"(/media/([a-z0-9]+(?:\.zh)?))" + exactly(std::string(extension)),
            [this, extension, type](const Request& request, Response& response) {
                asset(request, response, "media", extension, type);
            });
    }
}

void PortalRoutes::answer(HttpRequest& request, HttpResponse& response) const {
    if (screen(request, response)) {
        const bool readsOnly = request.method() == "GET" || request.method() == "HEAD";
        const auto route = std::find_if(routes_.begin(), routes_.end(), [&](const Route& r) {
            return readsOnly && std::regex_match(request.path(), r.pattern);
        });
        if (route == routes_.end()) {
            response.status = 404;
        } else {
            std::smatch match;
            std::regex_match(request.path(), match, route->pattern);
            request.setMatches({match.begin(), match.end()});
            route->handler(request, response);
        }
    }
    // Errors without a page of their own (unknown address) get the standard one.
    if (response.status >= 400 && response.body.empty()) {
        response.setContent(InfoPages::errorPage(response.status), std::string(htmlType));
    }
}

bool PortalRoutes::screen(const Request& request, Response& response) {
    if (RequestTarget::hasMalformedEscape(request.target())) {
        error(response, 400);
        return false;
    }
    return true;
}

std::string PortalRoutes::storingVisitor(const Request& request, Response& response) {
    if (request.headerCount("Cookie") > 1 || VisitorCookie::isForged(request.header("Cookie"))) {
        response.setHeader("Set-Cookie", VisitorCookie::setCookieValue(VisitorCookie::newId()));
        error(response, 400);
        return {};
    }
    return visitor(request, response);
}

std::string PortalRoutes::visitor(const Request& request, Response& response) {
    std::string id = VisitorCookie::fromHeader(request.header("Cookie"));
    if (id.empty()) {
        id = VisitorCookie::newId();
        response.setHeader("Set-Cookie", VisitorCookie::setCookieValue(id));
    }
    return id;
}

void PortalRoutes::html(Response& response, const std::string& page) {
    response.setHeader("Cache-Control", "no-store");
    response.setContent(page, std::string(htmlType));
}

void PortalRoutes::error(Response& response, int status) {
    response.status = status;
    response.setContent(InfoPages::errorPage(status), std::string(htmlType));
}

void PortalRoutes::filmList(const Request& request, Response& response) const {
    static_cast<void>(visitor(request, response));
    html(response, listPages_.filmList());
}

void PortalRoutes::filmPage(const Request& request, Response& response) const {
    static_cast<void>(visitor(request, response));
    const auto id = RequestTarget::filmId(request.param("id"));
    const Film* film = id ? catalogue_.find(*id) : nullptr;
    if (!film) {
        return error(response, 404);
    }
    html(response, filmPages_.filmPage(*film));
}

void PortalRoutes::playPage(const Request& request, Response& response) const {
    const std::string id = storingVisitor(request, response);
    if (id.empty()) {
        return;
    }
    // The query has no key ("/play/?1001-0-0.html"), so it is read from the raw target.
    const auto filmId = RequestTarget::playFilmId(RequestTarget::query(request.target()));
    const Film* film = filmId ? catalogue_.find(*filmId) : nullptr;
    if (!film) {
        return error(response, 404);
    }
    if (!store_.recordPlay(id, film->id, now())) {
        return error(response, 500);
    }
    html(response, PlayerPages::playPage(*film));
}

void PortalRoutes::search(const Request& request, Response& response) const {
    static_cast<void>(visitor(request, response));
    const auto keyword = textParam(request, "searchword");
    if (!keyword) {
        return error(response, 400);
    }
    html(response, listPages_.searchResults(*keyword));
}

void PortalRoutes::favourites(const Request& request, Response& response) const {
    const bool stores = request.param("dl") == "dl" || request.hasParam("scid");
    const std::string id = stores ? storingVisitor(request, response) : visitor(request, response);
    if (id.empty()) {
        return;
    }
    std::string notice;
    if (request.param("dl") == "dl") {
        if (!store_.clearFavourites(id)) {
            return error(response, 500);
        }
        notice = "收藏已清空";
    }
    if (request.hasParam("scid")) {
        const auto filmId = RequestTarget::filmId(request.param("scid"));
        const Film* film = filmId ? catalogue_.find(*filmId) : nullptr;
        if (!film) {
            return error(response, 404);
        }
        auto name = textParam(request, "scna");
        if (!name) {
            return error(response, 400);
        }
        if (name->empty()) {
            name = film->title;
        }
        const auto added = store_.addFavourite(id, film->id, *name, now());
        if (!added) {
            return error(response, 500);
        }
        notice = *added ? "已加入收藏：" + *name : "《" + film->title + "》已在收藏中";
    }
    const auto list = store_.favourites(id);
    if (!list) {
        return error(response, 500);
    }
    html(response, listPages_.favourites(*list, notice));
}

void PortalRoutes::recentlyPlayed(const Request& request, Response& response) const {
    const auto plays = store_.history(visitor(request, response));
    if (!plays) {
        return error(response, 500);
    }
    html(response, filmPages_.recentlyPlayed(*plays));
}

void PortalRoutes::tv(const Request& request, Response& response) const {
    static_cast<void>(visitor(request, response));
    const auto number = RequestTarget::filmId(request.param("ch"));
    html(response,
         PlayerPages::tvPage(number && *number > 0 ? static_cast<std::size_t>(*number - 1) : 0));
}

void PortalRoutes::poster(const Request& request, Response& response) const {
    const auto id = RequestTarget::filmId(request.matches().at(1));
    const Film* film = id ? catalogue_.find(*id) : nullptr;
    if (!film) {
        return error(response, 404);
    }
    response.setHeader("Cache-Control", "max-age=86400");
    response.setContent(PosterArt::svg(*film), "image/svg+xml; charset=utf-8");
}

void PortalRoutes::asset(const Request& request, Response& response, std::string_view folder,
                         std::string_view extension, std::string_view contentType) const {
    const auto it =
        assets_.find(std::string(folder) + "/" + request.matches().at(1) + std::string(extension));
    if (it == assets_.end() || it->second.empty()) {
        return error(response, 404);
    }
    response.setHeader("Cache-Control", "max-age=3600");
    response.setContent(it->second, std::string(contentType));
}

}  // namespace tivora::demo
