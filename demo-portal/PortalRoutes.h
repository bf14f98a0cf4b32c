#pragma once

#include "demo-portal/Catalogue.h"
#include "demo-portal/FilmPages.h"
#include "demo-portal/HttpRequest.h"
#include "demo-portal/HttpResponse.h"
#include "demo-portal/ListPages.h"

#include <functional>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace tivora::demo {

class PortalStore;

// What the portal answers at each address.
class PortalRoutes final {
public:
    PortalRoutes(const Catalogue& catalogue, PortalStore& store, std::string latestVersion,
                 std::string installer, std::string installerName, int installerBytesPerSecond);

    // The answer to one request; safe to call from several threads at once.
    void answer(HttpRequest& request, HttpResponse& response) const;
    // Before routing: false when the request was refused (a malformed escape in its target), with
    // the answer in response.
    [[nodiscard]] static bool screen(const HttpRequest& request, HttpResponse& response);

    // Keywords and favourite names longer than this many characters are refused.
    static constexpr std::size_t maxTextLength = 100;

private:
    using Request = HttpRequest;
    using Response = HttpResponse;
    using Handler = std::function<void(const Request&, Response&)>;

    struct Route {
        std::regex pattern;
        Handler handler;
    };

    void add(std::string_view pattern, Handler handler);
    void installRoutes();

    void filmList(const Request& request, Response& response) const;
    void filmPage(const Request& request, Response& response) const;
    void playPage(const Request& request, Response& response) const;
    void search(const Request& request, Response& response) const;
    void favourites(const Request& request, Response& response) const;
    void recentlyPlayed(const Request& request, Response& response) const;
    void tv(const Request& request, Response& response) const;
    void poster(const Request& request, Response& response) const;
    void asset(const Request& request, Response& response, std::string_view folder,
               std::string_view extension, std::string_view contentType) const;

    // The visitor's id, handing out a new one (with its cookie) on a first visit.
    [[nodiscard]] static std::string visitor(const Request& request, Response& response);
    // As visitor(), for a request that stores something: "" (with a 400 answer and a new
    // cookie) when the cookie sent is forged.
    [[nodiscard]] static std::string storingVisitor(const Request& request, Response& response);
    static void html(Response& response, const std::string& page);
    static void error(Response& response, int status);

    const Catalogue& catalogue_;
    PortalStore& store_;
    ListPages listPages_;
    FilmPages filmPages_;
    std::string latestVersion_;
    std::string installer_;
    std::string installerName_;
    int installerBytesPerSecond_;
    std::map<std::string, std::string, std::less<>> assets_;
    std::vector<Route> routes_;
};

}  // namespace tivora::demo
