#pragma once

#include <string>
#include <string_view>

namespace tivora::demo {

// Small pages: the version check, the start-up companion card and error pages.
class InfoPages final {
public:
    InfoPages() = delete;

    // Always holds "qor" and "qor13=XY" for version X.Y; holds "v10" only for version 1.0.
    [[nodiscard]] static std::string checkPage(std::string_view latestVersion);
    [[nodiscard]] static std::string companionPage();
    // A Chinese page for an HTTP error status.
    [[nodiscard]] static std::string errorPage(int status);
};

}  // namespace tivora::demo
