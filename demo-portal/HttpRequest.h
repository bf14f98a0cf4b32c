#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tivora::demo {

// One request as the portal's pages see it: the raw target, its decoded path and query values,
// the header fields in the order sent, and what the matched route captured.
class HttpRequest final {
public:
    HttpRequest() = default;
    HttpRequest(std::string method, std::string target);

    [[nodiscard]] const std::string& method() const { return method_; }
    // As sent, escapes and all.
    [[nodiscard]] const std::string& target() const { return target_; }
    // The target before "?", percent-decoded.
    [[nodiscard]] const std::string& path() const { return path_; }

    void addHeader(std::string name, std::string value);
    // The first field of that name (any case), or "".
    [[nodiscard]] std::string header(std::string_view name) const;
    [[nodiscard]] std::size_t headerCount(std::string_view name) const;

    // The first value of a query key, decoded ("+" reads as a space), or "".
    [[nodiscard]] std::string param(std::string_view key) const;
    [[nodiscard]] bool hasParam(std::string_view key) const;

    // What the route's pattern captured; [0] is the whole path.
    [[nodiscard]] const std::vector<std::string>& matches() const { return matches_; }
    void setMatches(std::vector<std::string> matches) { matches_ = std::move(matches); }

private:
    std::string method_;
    std::string target_;
    std::string path_;
    std::multimap<std::string, std::string, std::less<>> params_;
    std::vector<std::pair<std::string, std::string>> headers_;
    std::vector<std::string> matches_;
};

}  // namespace tivora::demo
