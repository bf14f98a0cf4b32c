#pragma once

#include <string>
#include <string_view>

namespace tivora::demo {

// The HTML document around every page: UTF-8, Chinese, one of the portal's style sheets.
class PageLayout final {
public:
    PageLayout() = delete;

    static constexpr std::string_view portalStyle = "/static/portal.css";
    static constexpr std::string_view playerStyle = "/static/player.css";
    static constexpr std::string_view siteStyle = "/static/site.css";

    // title is plain text; body and head are HTML.
    [[nodiscard]] static std::string document(std::string_view title, std::string_view styleSheet,
                                              std::string_view bodyClass, std::string_view body,
                                              std::string_view head = {});
};

}  // namespace tivora::demo
