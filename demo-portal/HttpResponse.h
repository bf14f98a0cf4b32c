#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tivora::demo {

// One answer of the portal's pages, before the server frames it.
struct HttpResponse {
    int status = 200;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    // The body goes out at this many bytes a second; 0: at once.
    int bytesPerSecond = 0;

    void setHeader(std::string name, std::string value);
    [[nodiscard]] std::string header(std::string_view name) const;
    void setContent(std::string content, std::string contentType);
    void setRedirect(std::string location);
};

}  // namespace tivora::demo
