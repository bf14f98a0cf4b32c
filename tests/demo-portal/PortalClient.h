#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace httplib {
class Client;
}

namespace tivora::demo::test {

// An HTTP client for one visitor of a portal on loopback: sends targets exactly as given and
// keeps the visitor cookie the portal hands out.
class PortalClient final {
public:
    struct Reply {
        int status = 0;  // 0: no answer
        std::string body;
        std::string contentType;
        std::string setCookie;
        std::string location;
    };

    explicit PortalClient(int port);
    ~PortalClient();
    PortalClient(const PortalClient&) = delete;
    PortalClient& operator=(const PortalClient&) = delete;

    [[nodiscard]] Reply get(const std::string& target, const std::string& range = {});
    [[nodiscard]] Reply post(const std::string& target, const std::string& body);
    // "tivora_visitor=ID", or "" before the portal handed one out.
    [[nodiscard]] const std::string& cookie() const { return cookie_; }
    void setCookie(std::string cookie) { cookie_ = std::move(cookie); }
    // Sent with every later request, after the cookie.
    void addHeader(std::string name, std::string value);

private:
    void keepCookie(const Reply& reply);

    std::unique_ptr<httplib::Client> client_;
    std::string cookie_;
    std::vector<std::pair<std::string, std::string>> extraHeaders_;
};

// Every text between open and the next close, in order.
[[nodiscard]] std::vector<std::string> allBetween(std::string_view text, std::string_view open,
                                                  std::string_view close);
[[nodiscard]] std::size_t occurrences(std::string_view text, std::string_view part);

}  // namespace tivora::demo::test
