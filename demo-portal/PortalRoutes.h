#pragma once

#include "demo-portal/Catalogue.h"
#include "demo-portal/FilmPages.h"
#include "demo-portal/ListPages.h"

#include <map>
#include <string>

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

namespace tivora::demo {

class PortalStore;

// What the portal answers at each address.
class PortalRoutes final {
public:
    PortalRoutes(const Catalogue& catalogue, PortalStore& store, std::string latestVersion,
                 std::string installer, std::string installerName, int installerBytesPerSecond);

    void install(httplib::Server& server);
    // Before routing: false when the request was refused (a malformed escape in its target), with
    // the answer in response.
    [[nodiscard]] static bool screen(const httplib::Request& request, httplib::Response& response);

    // Keywords and favourite names longer than this many characters are refused.
    static constexpr std::size_t maxTextLength = 100;

private:
    using Request = httplib::Request;
    using Response = httplib::Response;

    void filmList(const Request& request, Response& response);
    void filmPage(const Request& request, Response& response);
    void playPage(const Request& request, Response& response);
    void search(const Request& request, Response& response);
    void favourites(const Request& request, Response& response);
    void recentlyPlayed(const Request& request, Response& response);
    void tv(const Request& request, Response& response);
    void poster(const Request& request, Response& response);
    void asset(const Request& request, Response& response, std::string_view folder,
               std::string_view extension, std::string_view contentType);

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
};

}  // namespace tivora::demo
