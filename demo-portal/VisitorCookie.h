#pragma once

#include <string>
#include <string_view>

namespace tivora::demo {

// The cookie that tells visitors apart: a random id the portal hands out on a first visit.
class VisitorCookie final {
public:
    VisitorCookie() = delete;

    static constexpr std::string_view name = "tivora_visitor";

    // The visitor id in a Cookie header, or "" when there is none of ours or it is malformed.
    [[nodiscard]] static std::string fromHeader(std::string_view cookieHeader);
    // True when the header carries a cookie of ours that the portal cannot have handed out: a
    // malformed value, or two that differ.
    [[nodiscard]] static bool isForged(std::string_view cookieHeader);
    [[nodiscard]] static std::string newId();
    // The Set-Cookie value that keeps id for years.
    [[nodiscard]] static std::string setCookieValue(std::string_view id);
    [[nodiscard]] static bool isValidId(std::string_view id);
};

}  // namespace tivora::demo
