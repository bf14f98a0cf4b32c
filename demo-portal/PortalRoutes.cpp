#include "demo-portal/PortalRoutes.h"

#include "demo-portal/Assets.h"
#include "demo-portal/HtmlText.h"
#include "demo-portal/InfoPages.h"
#include "demo-portal/PlayerPages.h"
#include "demo-portal/PortalStore.h"
#include "demo-portal/PosterArt.h"
#include "demo-portal/RequestTarget.h"
#include "demo-portal/VisitorCookie.h"

#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <thread>

namespace tivora::demo {

namespace {

constexpr std::string_view htmlType = "text/html; charset=utf-8";

std::int64_t now() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

// A query value as typed, or nullopt when it is too long to take.
std::optional<std::string> textParam(const httplib::Request& request, const char* key) {
    const std::string value(trimmed(queryText(request.get_param_value(key))));
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
             {"site/", "site-home.html"},
             {"site/vrdl3.html", "site-help.html"},
         }) {
        assets_.emplace(address, Assets::bytes(file));
    }
}

void PortalRoutes::install(httplib::Server& server) {
    const auto page = [this](void (PortalRoutes::*handler)(const Request&, Response&)) {
        return [this, handler](const Request& request, Response& response) {
            (this->*handler)(request, response);
        };
    };
    server.Get("/",
               [](const Request&, Response& response) { response.set_redirect("/ty_00.html"); });
    server.Get(exactly("/ty_00.html"), page(&PortalRoutes::filmList));
    server.Get(exactly("/vrtata.asp"), page(&PortalRoutes::filmPage));
    server.Get("/play/", page(&PortalRoutes::playPage));
    server.Get(exactly("/search2010.asp"), page(&PortalRoutes::search));
    server.Get(exactly("/scj.asp"), page(&PortalRoutes::favourites));
    server.Get(exactly("/vrzjbf.asp"), page(&PortalRoutes::recentlyPlayed));
    server.Get("/tv", page(&PortalRoutes::tv));
    server.Get(R"(/poster/(\d{1,9})\.svg)", page(&PortalRoutes::poster));
    server.Get(exactly("/vrpcs.asp"), [this](const Request& request, Response& response) {
        static_cast<void>(visitor(request, response));
        html(response, InfoPages::checkPage(latestVersion_));
    });
    server.Get(exactly("/vrtj.html"), [](const Request& request, Response& response) {
        static_cast<void>(visitor(request, response));
        html(response, InfoPages::companionPage());
    });
    server.Get(exactly("/new.swf"), [this](const Request&, Response& response) {
        response.set_header("Content-Disposition",
                            "attachment; filename=\"" + installerName_ + "\"");
        if (installerBytesPerSecond_ <= 0) {
            response.set_content(installer_, "application/octet-stream");
            return;
        }
        // A tenth of the pace every tenth of a second.
        const auto piece = static_cast<std::size_t>(std::max(1, installerBytesPerSecond_ / 10));
        response.set_content_provider(
            installer_.size(), "application/octet-stream",
            [this, piece](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                return sink.write(installer_.data() + offset, std::min(length, piece));
            });
    });
    server.Get("/site",
               [](const Request&, Response& response) { response.set_redirect("/site/"); });
    for (const std::string key : {"site/", "site/vrdl3.html"}) {
        server.Get(exactly("/" + key), [this, key](const Request& request, Response& response) {
            static_cast<void>(visitor(request, response));
            html(response, assets_.at(key));
        });
    }
    server.Get(R"(/static/([a-z]+)\.css)", [this](const Request& request, Response& response) {
        asset(request, response, "static", ".css", "text/css; charset=utf-8");
    });
    server.Get(R"(/media/([a-z]+)\.webm)", [this](const Request& request, Response& response) {
        asset(request, response, "media", ".webm", "video/webm");
    });
    // Errors the server raises itself (unknown address, oversized body) get a page as well.
    server.set_error_handler([](const Request&, Response& response) {
        if (response.body.empty()) {
            response.set_content(InfoPages::errorPage(response.status), htmlType.data());
        }
    });
}

bool PortalRoutes::screen(const Request& request, Response& response) {
    if (RequestTarget::hasMalformedEscape(request.target)) {
        error(response, 400);
        return false;
    }
    return true;
}

std::string PortalRoutes::storingVisitor(const Request& request, Response& response) {
    if (request.get_header_value_count("Cookie") > 1 ||
        VisitorCookie::isForged(request.get_header_value("Cookie"))) {
        response.set_header("Set-Cookie", VisitorCookie::setCookieValue(VisitorCookie::newId()));
        error(response, 400);
        return {};
    }
    return visitor(request, response);
}

std::string PortalRoutes::visitor(const Request& request, Response& response) {
    std::string id = VisitorCookie::fromHeader(request.get_header_value("Cookie"));
    if (id.empty()) {
        id = VisitorCookie::newId();
        response.set_header("Set-Cookie", VisitorCookie::setCookieValue(id));
    }
    return id;
}

void PortalRoutes::html(Response& response, const std::string& page) {
    response.set_header("Cache-Control", "no-store");
    response.set_content(page, htmlType.data());
}

void PortalRoutes::error(Response& response, int status) {
    response.status = status;
    response.set_content(InfoPages::errorPage(status), htmlType.data());
}

void PortalRoutes::filmList(const Request& request, Response& response) {
    static_cast<void>(visitor(request, response));
    html(response, listPages_.filmList());
}

void PortalRoutes::filmPage(const Request& request, Response& response) {
    static_cast<void>(visitor(request, response));
    const auto id = RequestTarget::filmId(request.get_param_value("id"));
    const Film* film = id ? catalogue_.find(*id) : nullptr;
    if (!film) {
        return error(response, 404);
    }
    html(response, filmPages_.filmPage(*film));
}

void PortalRoutes::playPage(const Request& request, Response& response) {
    const std::string id = storingVisitor(request, response);
    if (id.empty()) {
        return;
    }
    // The query has no key ("/play/?1001-0-0.html"), so it is read from the raw target.
    const auto filmId = RequestTarget::playFilmId(RequestTarget::query(request.target));
    const Film* film = filmId ? catalogue_.find(*filmId) : nullptr;
    if (!film) {
        return error(response, 404);
    }
    if (!store_.recordPlay(id, film->id, now())) {
        return error(response, 500);
    }
    html(response, PlayerPages::playPage(*film));
}

void PortalRoutes::search(const Request& request, Response& response) {
    static_cast<void>(visitor(request, response));
    const auto keyword = textParam(request, "searchword");
    if (!keyword) {
        return error(response, 400);
    }
    html(response, listPages_.searchResults(*keyword));
}

void PortalRoutes::favourites(const Request& request, Response& response) {
    const bool stores = request.get_param_value("dl") == "dl" || request.has_param("scid");
    const std::string id = stores ? storingVisitor(request, response) : visitor(request, response);
    if (id.empty()) {
        return;
    }
    std::string notice;
    if (request.get_param_value("dl") == "dl") {
        if (!store_.clearFavourites(id)) {
            return error(response, 500);
        }
        notice = "收藏已清空";
    }
    if (request.has_param("scid")) {
        const auto filmId = RequestTarget::filmId(request.get_param_value("scid"));
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

void PortalRoutes::recentlyPlayed(const Request& request, Response& response) {
    const auto plays = store_.history(visitor(request, response));
    if (!plays) {
        return error(response, 500);
    }
    html(response, filmPages_.recentlyPlayed(*plays));
}

void PortalRoutes::tv(const Request& request, Response& response) {
    static_cast<void>(visitor(request, response));
    const auto number = RequestTarget::filmId(request.get_param_value("ch"));
    html(response,
         PlayerPages::tvPage(number && *number > 0 ? static_cast<std::size_t>(*number - 1) : 0));
}

void PortalRoutes::poster(const Request& request, Response& response) {
    const auto id = RequestTarget::filmId(request.matches[1].str());
    const Film* film = id ? catalogue_.find(*id) : nullptr;
    if (!film) {
        return error(response, 404);
    }
    response.set_header("Cache-Control", "max-age=86400");
    response.set_content(PosterArt::svg(*film), "image/svg+xml; charset=utf-8");
}

void PortalRoutes::asset(const Request& request, Response& response, std::string_view folder,
                         std::string_view extension, std::string_view contentType) {
    const auto it =
        assets_.find(std::string(folder) + "/" + request.matches[1].str() + std::string(extension));
    if (it == assets_.end() || it->second.empty()) {
        return error(response, 404);
    }
    response.set_header("Cache-Control", "max-age=3600");
    response.set_content(it->second, std::string(contentType));
}

}  // namespace tivora::demo
